#pragma once
// What the file verbs of tavctl share: loading and saving radio files with a
// plain message on failure, and picking options out of a verb's arguments.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "app/AppState.h"

namespace tav::cli {

// Loads `path` into `state`; on failure says why on `err` and returns false.
bool loadImageFile(const QString& path, AppState& state, QTextStream& err);
// Saves through a temporary file renamed over `path`; says why on failure.
bool saveImageFile(const QString& path, const AppState& state, QTextStream& err);

// Removes "-o VALUE" / "--output VALUE" / "--output=VALUE" style options
// named `names` from `args`. False (with a message) when the value is missing.
bool takeOption(QStringList& args, const QStringList& names, QString& value, QTextStream& err);
// Removes a flag such as "--json"; true when it was there.
bool takeFlag(QStringList& args, const QString& name);
// True when `args` holds exactly `count` operands and no unknown option;
// otherwise says what is wrong and shows `usage`.
bool expectOperands(const QStringList& args, int count, const QString& usage, QTextStream& err);

}  // namespace tav::cli
