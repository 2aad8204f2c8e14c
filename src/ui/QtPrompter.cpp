#include "ui/QtPrompter.h"

#include <QMessageBox>

#include "app/AppInfo.h"

namespace tav {

namespace {

QMessageBox::StandardButtons buttonsOf(MsgButtons b) {
    switch (b) {
        case MsgButtons::Ok:
            return QMessageBox::Ok;
        case MsgButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(MsgIcon i) {
    switch (i) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

MsgResult resultOf(int button, MsgButtons offered) {
    switch (button) {
        case QMessageBox::Ok:
            return MsgResult::Ok;
        case QMessageBox::Retry:
            return MsgResult::Retry;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        default:
            // Closed from the title bar: the safe answer of the box.
            return offered == MsgButtons::Ok      ? MsgResult::Ok
                   : offered == MsgButtons::YesNo ? MsgResult::No
                                                  : MsgResult::Cancel;
    }
}

// Texts separate their lines with carriage returns; the box wants new lines.
QString displayed(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

MsgResult QtPrompter::show(const QString& text, const QString& title, MsgButtons buttons,
                           MsgIcon icon, const QString& detail) {
    QMessageBox box(iconOf(icon), title.isEmpty() ? appTitle() : title, displayed(text),
                    buttonsOf(buttons), parent_.data());
    if (!detail.isEmpty()) box.setInformativeText(displayed(detail));
    if (buttons == MsgButtons::YesNo) box.setEscapeButton(QMessageBox::No);
    return resultOf(box.exec(), buttons);
}

}  // namespace tav
