#pragma once
// Every verb's usage in one place: the synopsis its errors repeat, and the
// full help that `tavctl VERB --help` prints (kept in step with the manual page).

#include <QString>

namespace tav::cli {

// "tavctl dump FILE [--json]": the command line of a verb.
QString verbSynopsis(const char* verb);
// "usage: " + synopsis, a newline, then a line per option.
QString verbHelp(const char* verb);

}  // namespace tav::cli
