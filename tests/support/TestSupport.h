#pragma once
// Port doubles: scripted message boxes, a progress recorder, a per-test settings folder.

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "app/Ports.h"

#ifdef QT_WIDGETS_LIB
#include <QWidget>
#include <QtTest>
#endif

namespace tav::test {

struct ShownBox {
    QString text, title, detail;
    MsgButtons buttons;
    MsgIcon icon;
};

class ScriptedPrompter : public Prompter {
public:
    // Answers are used in order; when none is left the box gets its safe
    // answer (OK, Cancel, or No).
    QList<MsgResult> answers;
    QList<ShownBox> shown;

    MsgResult show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon,
                   const QString& detail = QString()) override;
    QStringList texts() const;
};

// Logs every call in order, e.g. "max=30000", "EnableCancel", "ShowForm:Please Wait".
class ProgressRecorder : public Progress {
public:
    int maximum = 0, value = 0;
    bool visible = false, cancelled = false;
    QStringList log;
    int cancelAtValue = -1;  // Cancelled once the bar reaches this value (-1: never)

    void setMinimum(int v) override { log << QStringLiteral("min=%1").arg(v); }
    void setMaximum(int v) override {
        maximum = v;
        log << QStringLiteral("max=%1").arg(v);
    }
    void setValue(int v) override;
    void setVisible(bool v) override;
    void EnableCancel() override;
    bool Cancelled() const override { return cancelled; }
    void ShowForm(const QString& message, bool) override { log << "ShowForm:" + message; }
    void HideForm() override { log << QStringLiteral("HideForm"); }
};

// Points XDG_CONFIG_HOME and XDG_DATA_HOME at a fresh temporary folder; call
// before the first QSettings of the process.
class ScratchHome {
public:
    ScratchHome();
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

#ifdef QT_WIDGETS_LIB
// Types text key by key as a keyboard does, also characters that QTest's
// Latin-1 keyClicks cannot send, such as a full-width digit; "\r" is Enter.
inline void typeKeys(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        const auto key = c == u'\r' ? Qt::Key_Return : Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
    }
}
#endif

}  // namespace tav::test
