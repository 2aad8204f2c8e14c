#pragma once
#include <QString>

namespace tav {

// Short application title carried by message boxes that have no title of their own.
inline QString appTitle() { return QStringLiteral("TAV Editor"); }
// "1.1.6": major, minor and revision joined by ".".
inline QString appVersion() { return QStringLiteral(TAV_VERSION); }

}  // namespace tav
