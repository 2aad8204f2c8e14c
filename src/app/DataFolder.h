#pragma once
// The per-user data folder of the editor (XDG_DATA_HOME/TAVEDWIN, usually
// ~/.local/share/TAVEDWIN): automatic backups and serial traces live there.

#include <QString>

namespace tav {

QString userDataFolder();

}  // namespace tav
