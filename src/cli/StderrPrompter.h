#pragma once
// Message boxes for a command line: every box is one line on stderr,
// "TITLE: TEXT", answered by the fixed policy of PolicyPrompter.

#include <QTextStream>

#include "app/PolicyPrompter.h"

namespace tav::cli {

class StderrPrompter : public PolicyPrompter {
public:
    explicit StderrPrompter(int retries = 0);

protected:
    void told(const QString& line) override;

private:
    QTextStream out_;
};

}  // namespace tav::cli
