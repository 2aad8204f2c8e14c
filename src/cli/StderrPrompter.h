#pragma once
// Message boxes for a command line: every box is one line on stderr,
// "TITLE: TEXT", and is answered without asking anybody. Retry/Cancel boxes
// get Retry while the allowed retries last, then Cancel; other boxes get their
// safe answer (OK, Cancel or No).

#include <QTextStream>

#include "app/Ports.h"

namespace tav::cli {

class StderrPrompter : public Prompter {
public:
    explicit StderrPrompter(int retries = 0);

    MsgResult show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon,
                   const QString& detail = QString()) override;

private:
    int retries_;
    QTextStream out_;
};

}  // namespace tav::cli
