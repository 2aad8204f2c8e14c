#pragma once
// A main window built headless from test doubles: scripted message boxes, the
// virtual clock, settings and the channel table in a scratch folder.

#include <QtTest>
#include <QtWidgets>

#include "Fixtures.h"
#include "TestSupport.h"
#include "sim/RadioImage.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"
#include "store/ChannelTable.h"
#include "ui/RadioCommands.h"
#include "ui/frmGroups.h"

namespace tav::test {

// The shown boxes, each as one line "text | title | buttons | icon", to compare whole.
inline QStringList boxLines(const QList<ShownBox>& shown) {
    static const char* const buttons[] = {"Ok", "OkCancel", "RetryCancel", "YesNo", "YesNoCancel"};
    static const char* const icons[] = {"None", "Information", "Exclamation", "Question",
                                        "Critical"};
    QStringList lines;
    for (const ShownBox& b : shown)
        lines << QStringList{b.text, b.title, buttons[int(b.buttons)], icons[int(b.icon)]}.join(
            " | ");
    return lines;
}

// Scripted answers that can also look at the program while a box is up.
class WatchingPrompter : public ScriptedPrompter {
public:
    std::function<void(const QString& text)> onShow;
    MsgResult show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon,
                   const QString& detail = QString()) override {
        if (onShow) onShow(text);
        return ScriptedPrompter::show(text, title, buttons, icon, detail);
    }
};

// The virtual clock, which also lets a test act while a transfer waits on it,
// as a user does while the event loop runs.
struct ActingClock : sim::VirtualClock {
    using VirtualClock::VirtualClock;
    std::function<void()> onWait;
    void idleUntil(double deadline) override {
        VirtualClock::idleUntil(deadline);
        if (onWait) onWait();
    }
};

struct UiRig {
    ScratchHome home;
    AppState state;
    std::unique_ptr<Settings> settings;
    WatchingPrompter prompter;
    ActingClock clock{100.0};
    Clock* clockOverride = nullptr;  // a real clock for a real serial line
    // Answers for the file dialog, used in order; none left means Cancel.
    QStringList dialogAnswers;
    QList<QPair<bool, QString>> dialogsShown;  // save mode, preset
    std::unique_ptr<frmGroups> w;

    UiRig() : settings(std::make_unique<Settings>(home.path() + QStringLiteral("/tav.ini"))) {}
    ~UiRig() { closeWindow(); }
    // Closes the window, not saving, before what it talks to goes.
    void closeWindow() {
        if (!w) return;
        prompter.answers = {MsgResult::No};  // "Save before exit?"
        prompter.onShow = nullptr;
        w->close();
        w.reset();
    }

    EditorServices services(const QStringList& arguments = {}) {
        EditorServices s(state, *settings, prompter, clockOverride ? *clockOverride : clock);
        s.arguments = QStringList{QStringLiteral("tavedwin")} + arguments;
        s.deviceExists = [](const QString&) { return false; };
        auto* table = new ChannelTable;
        table->open(home.path() + QStringLiteral("/TavCurrent.MDB"), prompter);
        s.channelTable = table;
        s.fileDialog = [this](bool save, const QString& preset, QString& chosen) {
            dialogsShown.append({save, preset});
            if (dialogAnswers.isEmpty()) return false;
            chosen = dialogAnswers.takeFirst();
            return true;
        };
        return s;
    }

    frmGroups& open(const QStringList& arguments = {}) { return open(services(arguments)); }
    frmGroups& open(EditorServices s) {
        w = std::make_unique<frmGroups>(std::move(s));
        w->show();
        return *w;
    }

    // The window open and active, so that keys reach the widget with the focus.
    frmGroups& openActive() {
        open().activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) qFatal("the window did not become active");
        return *w;
    }

    QString cell(int column, int row) const { return w->grid().cellText(column, row); }
    void setCell(int column, int row, const QString& text) {
        w->grid().setCellText(column, row, text);
    }
    void selectGroup(int index) { w->cboCurrentGroup->setCurrentIndex(index); }
    void goTo(int column, int row) {
        w->Grid->setFocus();
        w->Grid->setCurrentIndex(w->Grid->model()->index(row, column));
    }
    // Types into the current cell the way a user does (the first key opens
    // the cell editor), then ends with `end` unless it is 0.
    void type(const QString& text, Qt::Key end = Qt::Key_Return) {
        for (const QChar ch : text) key(ch.toLatin1());
        if (end != 0) key(end);
    }
    template <typename Key>
    void key(Key k) {
        QWidget* editor = w->Grid->activeEditor();
        QTest::keyClick(editor ? editor : static_cast<QWidget*>(w->Grid), k);
        QCoreApplication::processEvents();  // Enter closes the cell editor by a queued call
    }
};

inline sim::FaultPlan faults(const QString& text) {
    sim::FaultPlan plan;
    if (!sim::FaultPlan::parse(text, plan)) qFatal("bad fault plan %s", qPrintable(text));
    return plan;
}

// The window on the in-process virtual radio, which runs on the virtual clock.
struct RadioUiRig : UiRig {
    sim::VirtualRadio radio;

    RadioUiRig() { sim::loadFactoryRadio(radio); }
    ~RadioUiRig() { closeWindow(); }  // before the radio its link talks to
    frmGroups& openOnRadio(int labelPolicy) {
        settings->saveInteger(QStringLiteral("Features"), QStringLiteral("Label"), labelPolicy);
        settings->saveFlag(QStringLiteral("Comm"), QStringLiteral("Virtual"), true);
        EditorServices s = services();
        s.openPort = [this](int) { return std::make_unique<sim::SimSerialLink>(radio, clock); };
        open(std::move(s));
        w->radio().now = [] { return QDateTime(QDate(2026, 12, 6), QTime(7, 31, 5)); };
        return *w;
    }
};

}  // namespace tav::test
