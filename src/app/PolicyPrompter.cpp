#include "app/PolicyPrompter.h"

#include "app/AppInfo.h"

namespace tav {

PolicyPrompter::PolicyPrompter(int retries) : retries_(retries), left_(retries) {}

void PolicyPrompter::restart() {
    left_ = retries_;
    lines_.clear();
}

bool PolicyPrompter::spendRetry() {
    if (left_ <= 0) return false;
    --left_;
    return true;
}

MsgResult PolicyPrompter::show(const QString& text, const QString& title, MsgButtons buttons,
                               MsgIcon, const QString& detail) {
    QString line = (title.isEmpty() ? appTitle() : title) + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    if (!detail.isEmpty()) line += QStringLiteral(" (") + detail + QLatin1Char(')');
    lines_ << line;
    told(line);
    switch (buttons) {
        case MsgButtons::Ok:
            return MsgResult::Ok;
        case MsgButtons::YesNo:
            return MsgResult::No;
        case MsgButtons::RetryCancel:
            return spendRetry() ? MsgResult::Retry : MsgResult::Cancel;
        default:
            return MsgResult::Cancel;
    }
}

}  // namespace tav
