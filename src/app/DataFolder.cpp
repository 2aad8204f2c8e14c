#include "app/DataFolder.h"

#include <QStandardPaths>

namespace tav {

QString userDataFolder() {
    // The generic location, not the application one: the folder keeps the
    // editor's own name whatever the running program calls itself.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/TAVEDWIN");
}

}  // namespace tav
