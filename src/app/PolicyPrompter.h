#pragma once
// Message boxes answered without asking anybody, by a fixed policy: Retry
// while the allowed retries last, then Cancel; other boxes get their safe
// answer (OK, Cancel or No). Every box is kept as one line, "TITLE: TEXT
// (DETAIL)", the carriage returns that split a box's lines made spaces.

#include <QStringList>

#include "app/Ports.h"

namespace tav {

class PolicyPrompter : public Prompter {
public:
    explicit PolicyPrompter(int retries = 0);

    MsgResult show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon,
                   const QString& detail = QString()) override;

    // The boxes shown since the start or the last restart().
    const QStringList& lines() const { return lines_; }
    // Forgets the boxes and grants the retries again (a new radio).
    void restart();
    // Takes one of the retries left for an exchange that fails without
    // asking (a read says only OK); false when none is left.
    bool spendRetry();

protected:
    // Each box's line, as it is shown.
    virtual void told(const QString& line) { (void)line; }

private:
    int retries_;
    int left_;
    QStringList lines_;
};

}  // namespace tav
