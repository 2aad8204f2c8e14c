#include "TestSupport.h"

namespace tav::test {

namespace {
MsgResult safeAnswer(MsgButtons b) {
    return b == MsgButtons::Ok      ? MsgResult::Ok
           : b == MsgButtons::YesNo ? MsgResult::No
                                    : MsgResult::Cancel;
}
}  // namespace

MsgResult ScriptedPrompter::show(const QString& text, const QString& title, MsgButtons buttons,
                                 MsgIcon icon, const QString& detail) {
    shown.append({text, title, detail, buttons, icon});
    return answers.isEmpty() ? safeAnswer(buttons) : answers.takeFirst();
}

QStringList ScriptedPrompter::texts() const {
    QStringList t;
    for (const auto& b : shown) t << b.text;
    return t;
}

void ProgressRecorder::setValue(int v) {
    value = v;
    if (cancelAtValue >= 0 && v >= cancelAtValue) cancelled = true;
}
void ProgressRecorder::setVisible(bool v) {
    visible = v;
    log << (v ? QStringLiteral("show") : QStringLiteral("hide"));
}
void ProgressRecorder::EnableCancel() {
    cancelled = false;
    log << QStringLiteral("EnableCancel");
}

ScratchHome::ScratchHome() {
    qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (dir_.path() + QStringLiteral("/data")).toUtf8());
}

}  // namespace tav::test
