#include "cli/StderrPrompter.h"

#include <cstdio>

#include "app/AppInfo.h"

namespace tav::cli {

StderrPrompter::StderrPrompter(int retries) : retries_(retries), out_(stderr) {}

MsgResult StderrPrompter::show(const QString& text, const QString& title, MsgButtons buttons,
                               MsgIcon, const QString& detail) {
    // One line per box: the carriage returns that split a box's lines become spaces.
    QString line = (title.isEmpty() ? appTitle() : title) + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    if (!detail.isEmpty()) line += QStringLiteral(" (") + detail + QLatin1Char(')');
    out_ << line << Qt::endl;
    switch (buttons) {
        case MsgButtons::Ok:
            return MsgResult::Ok;
        case MsgButtons::YesNo:
            return MsgResult::No;
        case MsgButtons::RetryCancel:
            if (retries_ > 0) {
                --retries_;
                return MsgResult::Retry;
            }
            return MsgResult::Cancel;
        default:
            return MsgResult::Cancel;
    }
}

}  // namespace tav::cli
