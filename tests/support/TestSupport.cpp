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

void ProgressRecorder::setMinimum(int v) {
    minimum = v;
    log << QStringLiteral("min=%1").arg(v);
}
void ProgressRecorder::setMaximum(int v) {
    maximum = v;
    log << QStringLiteral("max=%1").arg(v);
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
    ++enableCancelCalls;
    cancelled = false;
    log << QStringLiteral("EnableCancel");
}
void ProgressRecorder::ShowForm(const QString& message, bool writeOperation) {
    formShown = true;
    formMessage = message;
    formWrite = writeOperation;
    log << QStringLiteral("ShowForm:") + message;
}
void ProgressRecorder::HideForm() {
    formShown = false;
    log << QStringLiteral("HideForm");
}

ScratchHome::ScratchHome() {
    qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (dir_.path() + QStringLiteral("/data")).toUtf8());
}

}  // namespace tav::test
