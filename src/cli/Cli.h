#pragma once
#include <QStringList>

namespace tav::cli {

// Exit statuses shared by every verb.
enum Exit { kOk = 0, kRadioFailure = 1, kUsage = 2, kFileError = 3 };

// Runs one tavctl command line (arguments[0] is the program) and returns its exit status.
int run(const QStringList& arguments);

}  // namespace tav::cli
