#pragma once
#include <QStringList>

namespace tav::cli {

// Exit statuses shared by every verb.
// kDiffers: the radio does not hold what the file holds.
enum Exit { kOk = 0, kRadioFailure = 1, kUsage = 2, kFileError = 3, kDiffers = 4 };

// Runs one tavctl command line (arguments[0] is the program) and returns its exit status.
int run(const QStringList& arguments);

}  // namespace tav::cli
