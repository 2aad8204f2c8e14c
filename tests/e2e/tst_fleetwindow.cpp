// The Program Fleet window driven as a technician drives it: keys into the
// plan and station counts, clicks on Start and the stop buttons, the real
// close path; checked against the log database and the virtual radios'
// memories, not only the window. Stations are in-process virtual benches
// without wire time, so a run takes seconds.

#include <QSqlQuery>
#include <QtTest>

#include "../ui/UiFixture.h"
#include "Fixtures.h"
#include "FleetRig.h"
#include "TestMain.h"
#include "fleet/FleetBoard.h"
#include "ui/EditorWindows.h"
#include "ui/frmFleet.h"

using namespace tav;
using namespace tav::test;
using namespace tav::fleet;

namespace {

const QString kDone = QStringLiteral("Done \u2014 swap radio");
const QColor kFailure(0xc0, 0x00, 0x00);

// A station's state texts as they were shown, "Writing N %" as "Writing",
// the same text twice in a row once; a failure colour marked with "!".
QStringList collapsed(const QStringList& shown) {
    QStringList out;
    for (QString t : shown) {
        if (t.startsWith(QLatin1String("Writing "))) t = QStringLiteral("Writing");
        if (out.isEmpty() || out.last() != t) out << t;
    }
    return out;
}

}  // namespace

class TestFleetWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<UiRig> rig;
    std::unique_ptr<EditorWindows> windows;
    frmFleet* fleet = nullptr;
    AppState templ;
    QMap<int, QStringList> states;  // station row -> state texts as shown

    QString logPath() const { return rig->home.path() + QStringLiteral("/fleet.sqlite"); }

    // Keys into a field as typed: all selected first, then the text.
    void type(QWidget* field, const QString& text) {
        field->setFocus();
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus == field || focus->parentWidget() == field);
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focus, text);
    }

    // The window opened from the Radio menu with `stations` virtual benches
    // of `radios` radios each and a plan of `count` IDs from 12A0000.
    void openFleet(int stations, int radios, int count,
                   const std::map<int, std::map<int, long>>& pulls = {},
                   const QString& faults = QString()) {
        frmGroups& w = rig->openActive();
        windows->attach(w);
        w.mnuFleet->trigger();
        fleet = windows->fleet();
        QVERIFY(fleet && fleet->isVisible());
        fleet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(fleet));
        templ = rig->state;
        VirtualStationOptions& o = fleet->virtualStations().options();
        o.radiosPerStation = radios;
        o.swapSeconds = 0.2;
        o.wireTiming = false;
        o.pulls = pulls;
        o.faults = faults.isEmpty() ? sim::FaultPlan{} : tav::test::faults(faults);
        fleet->probeSeconds = 0.2;
        type(fleet->txtAniFrom, QStringLiteral("12A0000"));
        type(fleet->spnCount, QString::number(count));
        type(fleet->spnVirtual, QString::number(stations));
        type(fleet->txtLog, logPath());
        connect(fleet->tblStations->model(), &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& from) {
                    if (from.column() != 1) return;
                    const QTableWidgetItem* item = fleet->tblStations->item(from.row(), 1);
                    const bool red = item->foreground().color() == kFailure;
                    states[from.row()] << item->text() + (red ? QStringLiteral("!") : QString());
                });
    }

    void start() {
        QVERIFY(fleet->cmdStart->isEnabled());
        QTest::mouseClick(fleet->cmdStart, Qt::LeftButton);
        QVERIFY(fleet->running());
    }
    void waitForEnd() {
        QSignalSpy ended(fleet, &frmFleet::runFinished);
        QVERIFY(ended.wait(60000));
    }
    // Until every station shows `text` at the start of its state.
    void waitForAll(const QString& text) {
        const auto all = [this, &text] {
            for (int r = 0; r < fleet->tblStations->rowCount(); ++r)
                if (!fleet->tblStations->item(r, 1)->text().startsWith(text)) return false;
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(all(), 30000);
    }

    LogCounts counts() {
        FleetLog log(*LogTarget::parse(logPath(), nullptr), QStringLiteral("test-counts"));
        LogCounts c;
        if (!log.open(FleetLog::Access::Read) || !log.counts(&c)) qFatal("the log cannot be read");
        return c;
    }
    QStringList statuses() {
        QStringList out;
        for (const auto& a : logAttempts(logPath())) out << a["status"];
        return out;
    }

private slots:
    void init() {
        rig = std::make_unique<UiRig>();
        windows =
            std::make_unique<EditorWindows>(rig->state, *rig->settings, rig->prompter, rig->clock);
        states.clear();
    }
    void cleanup() {
        if (fleet && fleet->running()) {
            rig->prompter.answers = {MsgResult::Yes};
            fleet->close();
        }
        rig->closeWindow();
        windows.reset();
        rig.reset();
        fleet = nullptr;
    }

    void stationsShowEachStateAndTheRadiosHoldTheTemplateWithTheirIds() {
        openFleet(3, 2, 6);
        start();
        waitForEnd();
        const QStringList each{"Starting", "Waiting for radio", "Reading", "Writing",   "Verifying",
                               kDone,      "Reading",           "Writing", "Verifying", kDone,
                               "Plan done"};
        for (int r = 0; r < 3; ++r) QCOMPARE(collapsed(states[r]).join('|'), each.join('|'));
        QCOMPARE(counts().done, 6);
        QCOMPARE(fleet->lblTotals->text(),
                 QString("Done: 6   Failed: 0   Interrupted: 0   Plan rows left: 0"));
        QVERIFY(fleet->lblPace->text().contains(QRegularExpression("Radios per hour: [1-9]")));

        const auto attempts = logAttempts(logPath());
        QCOMPARE(fleet->tblLog->rowCount(), attempts.size());
        const QMap<QPair<int, int>, AppState> radios = fleet->virtualStations().departed();
        QCOMPARE(radios.size(), 6);
        QMap<int, int> radioOfStation;
        QSet<QString> ids;
        for (int i = 0; i < attempts.size(); ++i) {
            const auto& a = attempts[i];
            QCOMPARE(a["status"], QString("ok"));
            // Newest first in the window.
            QCOMPARE(fleet->tblLog->item(attempts.size() - 1 - i, 4)->text(), a["ids_after"]);
            const int station = a["port"].section(' ', 1).toInt();
            const int k = ++radioOfStation[station];
            const QString want = QString("%1").arg(0x12A0000 + a["plan_row"].toInt() - 1, 7, 16);
            QCOMPARE(a["ids_after"], want.toUpper());
            ids << a["ids_after"];
            QCOMPARE(
                firstDifference(expectedRadio(templ, quint32(1000 * station + k), a["ids_after"]),
                                radios.value({station, k})),
                QString());
        }
        QCOMPARE(ids.size(), 6);
    }

    void aPulledRadioFailsItsRowAndTheOthersGoOn() {
        openFleet(2, 2, 3, {{2, {{1, 4000}}}});
        start();
        waitForEnd();
        QVERIFY2(states[1].contains("Failed: the write failed!"), qPrintable(states[1].join('|')));
        QVERIFY(!states[0].join('|').contains("Failed"));
        QCOMPARE(collapsed(states[1]).last(), QString("Plan done"));
        QCOMPARE(fleet->lblTotals->text(),
                 QString("Done: 3   Failed: 1   Interrupted: 0   Plan rows left: 0"));
        const auto attempts = logAttempts(logPath());
        int failedRow = -1;
        for (int i = 0; i < attempts.size(); ++i)
            if (attempts[i]["status"] == "failed") failedRow = attempts.size() - 1 - i;
        QVERIFY(failedRow >= 0);
        QCOMPARE(fleet->tblLog->item(failedRow, 2)->text(), QString("Virtual 2"));
        QVERIFY(fleet->tblLog->item(failedRow, 6)->text().endsWith("the write failed"));
        QCOMPARE(fleet->tblLog->item(failedRow, 5)->foreground().color(), kFailure);
        QVERIFY(fleet->tblLog->item((failedRow + 1) % attempts.size(), 5)->foreground().color() !=
                kFailure);
        QCOMPARE(fleet->virtualStations().departures().value({2, 1}), QString("pulled"));
    }

    // Two stations mid-write; the radios are slow to answer so that the
    // write is still going when the button is pressed.
    void stopping_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<QStringList>("logged");
        QTest::addColumn<int>("left");
        const QStringList ok{"ok", "ok"}, interrupted{"interrupted", "interrupted"};
        QTest::newRow("stop after current radios") << "after" << QList<MsgResult>{} << ok << 2;
        QTest::newRow("stop now") << "now" << QList<MsgResult>{MsgResult::Yes} << interrupted << 4;
        QTest::newRow("stop now, answered No")
            << "now" << QList<MsgResult>{MsgResult::No} << ok << 2;
        QTest::newRow("close") << "close" << QList<MsgResult>{MsgResult::Yes} << interrupted << 4;
    }
    void stopping() {
        QFETCH(QString, how);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QStringList, logged);
        QFETCH(int, left);
        openFleet(2, 2, 4, {}, QStringLiteral("slow=1"));
        fleet->chkVerify->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // a shorter radio
        start();
        waitForAll(QStringLiteral("Writing"));
        rig->prompter.answers = answers;
        if (how == "after")
            QTest::mouseClick(fleet->cmdStopAfter, Qt::LeftButton);
        else if (how == "now")
            QTest::mouseClick(fleet->cmdStopNow, Qt::LeftButton);
        else
            fleet->close();
        const QString question =
            how == "now" ? "Stop every station now? A radio being written is left unfinished "
                           "and logged as interrupted. |  | YesNo | Question"
                         : "Stations are writing radios. Stop them now and close the window? |  | "
                           "YesNo | Question";
        QCOMPARE(boxLines(rig->prompter.shown),
                 answers.isEmpty() ? QStringList() : QStringList{question});
        const bool goesOn = answers.value(0) == MsgResult::No;
        QCOMPARE(fleet->isVisible(), how != "close" || goesOn);
        if (goesOn) {
            QVERIFY(fleet->running());
            QTest::mouseClick(fleet->cmdStopAfter, Qt::LeftButton);
        }
        if (fleet->running()) waitForEnd();
        QCOMPARE(statuses(), logged);
        const LogCounts c = counts();
        QCOMPARE(c.free + c.claimed, left);
        QCOMPARE(c.writing, 0);
    }

    void aBadPlanIsShownByRowAndStartStaysDisabled_data() {
        QTest::addColumn<QString>("plan");  // a plan file's text; empty: the ANI/ID range
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("firstId");
        QTest::newRow("range") << ""
                               << "12A0000"
                               << ""
                               << "12A0000";
        QTest::newRow("range past seven digits")
            << ""
            << "FFFFFFF"
            << "row 2: the ANI/ID 10000000 has more than 7 digits"
            << "";
        QTest::newRow("file") << "group.*.ani_id\n5\n6\n"
                              << ""
                              << ""
                              << "0000005";
        QTest::newRow("duplicate ID") << "group.*.ani_id\n5\n6\n0005\n"
                                      << ""
                                      << "row 3: group 1 ANI/ID 0000005 is also row 1's"
                                      << "0000005";
        QTest::newRow("unknown path") << "group.1.colour\nred\n"
                                      << ""
                                      << "row 1: group.1.colour: no group field \"colour\""
                                      << "";
    }
    void aBadPlanIsShownByRowAndStartStaysDisabled() {
        QFETCH(QString, plan);
        QFETCH(QString, from);
        QFETCH(QString, error);
        QFETCH(QString, firstId);
        openFleet(1, 1, 2);
        if (plan.isEmpty()) {
            type(fleet->txtAniFrom, from);
        } else {
            const QString path = rig->home.path() + "/plan.csv";
            QVERIFY(writeFile(path, plan.toUtf8()));
            fleet->choosePlanFile = [path] { return path; };
            QTest::mouseClick(fleet->cmdPlanFile, Qt::LeftButton);
        }
        QCOMPARE(fleet->lblPlanError->text(), error);
        QCOMPARE(fleet->cmdStart->isEnabled(), error.isEmpty());
        const QTreeWidgetItem* first = fleet->tvwPreview->topLevelItem(0);
        QCOMPARE(first ? first->text(2) : QString(), firstId);
    }

    // A fleet on the editor's own port disables the editor's radio
    // commands until it ends; one on another port leaves them alone.
    void theEditorsRadioCommandsWaitWhileAFleetUsesTheirPort_data() {
        textRows("same port|1;another port|0");
    }
    void theEditorsRadioCommandsWaitWhileAFleetUsesTheirPort() {
        QFETCH(QStringList, row);
        const QString device = rig->home.path() + "/ttyFLEET";
        rig->settings->setPortDevice(1, row[1] == "1" ? device : rig->home.path() + "/ttyOTHER");
        openFleet(0, 1, 1);
        fleet->listPorts = [device] { return QStringList{device}; };
        QTest::mouseClick(fleet->cmdRefreshPorts, Qt::LeftButton);
        QListWidgetItem* port = fleet->lstPorts->item(0);
        QTest::mouseClick(fleet->lstPorts->viewport(), Qt::LeftButton, {},
                          fleet->lstPorts->visualItemRect(port).topLeft() + QPoint(8, 8));
        QTest::keyClick(fleet->lstPorts, Qt::Key_Space);
        QCOMPARE(port->checkState(), Qt::Checked);
        start();
        frmGroups& w = *rig->w;
        QCOMPARE(w.mnuRead->isEnabled(), row[1] == "0");
        QCOMPARE(w.mnuWriteAll->isEnabled(), row[1] == "0");
        QCOMPARE(w.mnuFleet->isEnabled(), true);
        waitForEnd();  // the device is no port: the station ends at once
        QVERIFY(fleet->tblStations->item(0, 1)->text().startsWith("Failed: "));
        QVERIFY(w.mnuRead->isEnabled());
    }

    // Before a start the log box's file is shown as earlier runs left it.
    // Looking neither creates a file nor changes one that is no log.
    void theLogOfEarlierRunsIsShownBeforeStart() {
        openFleet(1, 1, 1);
        start();
        waitForEnd();
        // A window of a new editor session, with nothing of that run in memory.
        QTest::mouseClick(fleet->cmdClose, Qt::LeftButton);
        windows.reset();
        windows =
            std::make_unique<EditorWindows>(rig->state, *rig->settings, rig->prompter, rig->clock);
        windows->attach(*rig->w);
        rig->w->mnuFleet->trigger();
        fleet = windows->fleet();
        fleet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(fleet));
        const auto attempts = logAttempts(logPath());
        QCOMPARE(attempts.size(), 1);
        QCOMPARE(fleet->tblLog->rowCount(), 1);
        QCOMPARE(fleet->tblLog->item(0, 4)->text(), attempts[0]["ids_after"]);
        QCOMPARE(fleet->lblTotals->text(),
                 QString("Done: 1   Failed: 0   Interrupted: 0   Plan rows left: 0"));

        const QString absent = rig->home.path() + "/absent.sqlite";
        type(fleet->txtLog, absent);
        QCOMPARE(fleet->tblLog->rowCount(), 0);
        QCOMPARE(fleet->lblTotals->text(), QString());
        QVERIFY(!QFile::exists(absent));

        const QString foreign = rig->home.path() + "/foreign.sqlite";
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(foreign);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("CREATE TABLE notes (text TEXT)"));
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");
        const QByteArray bytes = readFile(foreign);
        type(fleet->txtLog, foreign);
        QVERIFY2(fleet->lblTotals->text().contains("no such table"),
                 qPrintable(fleet->lblTotals->text()));
        QCOMPARE(readFile(foreign), bytes);
        QVERIFY(!QFile::exists(foreign + "-wal"));
    }

    void theChoicesAreRememberedPerTemplate() {
        openFleet(3, 1, 7);
        fleet->chkLabels->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(fleet->chkLabels->isChecked());
        QTest::mouseClick(fleet->cmdClose, Qt::LeftButton);
        QVERIFY(!fleet->isVisible());
        fleet->txtAniFrom->clear();
        rig->w->mnuFleet->trigger();
        QCOMPARE(fleet->txtAniFrom->text(), QString("12A0000"));
        QCOMPARE(fleet->spnCount->value(), 7);
        QCOMPARE(fleet->spnVirtual->value(), 3);
        QVERIFY(fleet->chkLabels->isChecked());
        QCOMPARE(fleet->txtLog->text(), logPath());
        QCOMPARE(rig->settings->get("Fleet-(unsaved_image)", "AniFrom"), QString("12A0000"));
        // Another template starts from the defaults.
        rig->w->Files->CurrentFileName = rig->home.path() + "/other.tav";
        QTest::mouseClick(fleet->cmdClose, Qt::LeftButton);
        rig->w->mnuFleet->trigger();
        QCOMPARE(fleet->txtAniFrom->text(), QString("0000001"));
        QVERIFY(fleet->chkVerify->isChecked());
        QCOMPARE(fleet->txtLog->text(), DefaultLogFile("other.tav"));
    }

    void stateTexts_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("failed");
        QTest::newRow("waiting, no radio yet") << "waiting" << 0 << ""
                                               << ""
                                               << "Waiting for radio" << false;
        QTest::newRow("writing") << "writing" << 63 << ""
                                 << ""
                                 << "Writing 63 %" << false;
        QTest::newRow("swap after ok") << "swap" << 100 << "ok"
                                       << "" << kDone << false;
        QTest::newRow("waiting after ok") << "waiting" << 0 << "ok"
                                          << "" << kDone << false;
        QTest::newRow("waiting after a failure") << "waiting" << 0 << "failed"
                                                 << ""
                                                 << "Failed: why" << true;
        QTest::newRow("interrupted") << "interrupted" << 100 << "interrupted"
                                     << ""
                                     << "Interrupted: why" << true;
        QTest::newRow("ended after the plan") << "ended" << 0 << "ok"
                                              << "Plan done"
                                              << "Plan done" << false;
        QTest::newRow("ended by a stop") << "ended" << 0 << "ok" << kDone << "Stopped" << false;
        QTest::newRow("cannot go on") << "ended: no port" << 0 << ""
                                      << ""
                                      << "Failed: no port" << true;
    }
    void stateTexts() {
        QFETCH(QString, state);
        QFETCH(int, percent);
        QFETCH(QString, outcome);
        QFETCH(QString, shown);
        StationStatus s;
        s.state = state;
        s.percent = percent;
        s.outcome = outcome;
        s.reason = QStringLiteral("why");
        QTEST(StateText(s, shown), "text");
        QTEST(StateFailed(s), "failed");
    }

    void paceText_data() {
        textRows(
            "0|0|Elapsed: 0:00:00   Radios per hour: \u2014;"
            "3|60000|Elapsed: 0:01:00   Radios per hour: 180;"
            "7|3725000|Elapsed: 1:02:05   Radios per hour: 7");
    }
    void paceText() {
        QFETCH(QStringList, row);
        QCOMPARE(PaceText(row[0].toInt(), row[1].toLongLong()), row[2]);
    }
};

TAV_TEST(TestFleetWindow);
#include "tst_fleetwindow.moc"
