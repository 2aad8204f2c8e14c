#include "cli/StderrPrompter.h"

#include <cstdio>

namespace tav::cli {

StderrPrompter::StderrPrompter(int retries) : PolicyPrompter(retries), out_(stderr) {}

void StderrPrompter::told(const QString& line) {
    out_ << line << Qt::endl;
}

}  // namespace tav::cli
