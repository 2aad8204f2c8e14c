// `tavctl fleet run` against benches of virtual radios on pseudo-terminals:
// what every radio ends up holding, a radio pulled mid-transfer, a run
// killed mid-write.

#include <signal.h>

#include <QtTest>

#include "E2eSupport.h"
#include "Fixtures.h"
#include "FleetRig.h"
#include "TestMain.h"
#include "TestSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

QString idOf(int number) {
    return QStringLiteral("%1").arg(number, 7, 16, QLatin1Char('0')).toUpper();
}

// Radio k of bench i as it was dumped when it left.
AppState dumpedRadio(const QString& dir, int bench, int k) {
    AppState s;
    const RadioFileResult r =
        ReadRadioFile(QStringLiteral("%1/bench-%2/radio-%3.tav").arg(dir).arg(bench).arg(k), s);
    if (!r.ok()) qWarning() << "no dump of radio" << bench << k << r.description;
    return s;
}

constexpr int kFirstId = 0x0100000;

// Group 1's ANI/ID as the radio holds it (address 132 low nibble, 133 to 135).
QString idHeld(const AppState& radio) {
    return QByteArray(reinterpret_cast<const char*>(radio.EEImage.data()) + 132, 4)
        .toHex()
        .mid(1)
        .toUpper();
}

}  // namespace

class TestFleetRun : public QObject {
    Q_OBJECT
    ScratchHome home_;
    QTemporaryDir dir_;
    QString templ_;
    AppState template_ = randomImage(77);

    QString path(const QString& name) const { return dir_.filePath(name); }

    // A run of `count` rows from kFirstId on the benches, ending with the
    // summary of `ok` and `failed` radios, every row done.
    void runPlan(const Benches& benches, const QString& log, int count, int ok, int failed,
                 const QStringList& extra = {}) {
        const Run r = FleetProcess(QStringList{templ_, "--ports", benches.ports(), "--ani-from",
                                               idOf(kFirstId), "--count", QString::number(count),
                                               "--log", log} +
                                   extra)
                          .finish();
        QCOMPARE(r.status, failed ? 1 : 0);
        QVERIFY2(r.err.endsWith(QStringLiteral("radios: %1 ok, %2 failed, 0 interrupted; plan "
                                               "rows: %3 done, 0 left of %3\n")
                                    .arg(ok)
                                    .arg(failed)
                                    .arg(count)),
                 qPrintable(r.err));
    }

private slots:
    void initTestCase() {
        QVERIFY(!tavctlPath().isEmpty());
        templ_ = path("template.tav");
        QVERIFY(WriteRadioFile(templ_, template_).ok());
    }

    // Four stations, two radios each: every radio ends as the template with
    // its row's ID, its protected bits its own, each plan row on one radio.
    void fourStationsProgramEightRadios() {
        const QString dir = path("eight");
        Benches benches(dir, {2, 2, 2, 2});
        const QString log = dir + "/log.sqlite";
        // Retries only absorb a busy machine's delays: these radios have no faults.
        runPlan(benches, log, 8, 8, 0, {"--retries", "3"});
        QSet<QString> ids;
        for (int bench = 0; bench < 4; ++bench) {
            for (int k = 1; k <= 2; ++k) {
                const AppState got = dumpedRadio(dir, bench, k);
                const QString id = idHeld(got);
                ids << id;
                const AppState want = expectedRadio(template_, benchSeed(bench) + k, id);
                QCOMPARE(firstDifference(want, got), QString());
            }
        }
        QSet<QString> planned;
        for (int i = 0; i < 8; ++i) planned << idOf(kFirstId + i);
        QCOMPARE(ids, planned);
        const auto attempts = logAttempts(log);
        QCOMPARE(attempts.size(), 8);
        QSet<QString> rows;
        for (const auto& a : attempts) {
            QCOMPARE(a["status"], QString("ok"));
            QCOMPARE(a["verify"], QString("ok"));
            QCOMPARE(a["ids_after"], idOf(kFirstId + a["plan_row"].toInt() - 1));
            QVERIFY(QFile::exists(a["backup"]));
            rows << a["plan_row"];
        }
        QCOMPARE(rows.size(), 8);
        QCOMPARE(tavctl({"fleet", "status", log}).out,
                 QString("plan rows: 8 (8 done, 0 claimed, 0 left)\n"
                         "attempts: 8 ok, 0 failed, 0 interrupted, 0 writing\n"));
    }

    // Radio 2 of each station goes wrong, each in its own way, all in one
    // run: it vanishes after its B-th byte, in the read, the write or the
    // verify, or keeps group 1's ANI/ID digits 4-7 (the word at 134) through
    // the write, which only the read-back can find. It is logged failed with
    // the reason, never ok, and its row (if it had one) goes to another
    // radio; the radio after it on its station, and the others, are whole.
    void faultyRadios() {
        struct Fault {
            QStringList options;
            bool claimed;
            QString verify;
        };
        const QList<Fault> faults{{{"--pull", "2:900"}, false, ""},  // in the read
                                  {{"--pull", "2:4000"}, true, ""},  // in the write
                                  {{"--pull", "2:7000"}, true, "read-back failed"},
                                  {{"--stuck", "2:0x86"}, true, "1 differences"}};
        QList<QStringList> options;
        for (const Fault& f : faults) options << f.options;
        const QString dir = path("faulty");
        Benches benches(dir, {3, 3, 3, 3}, options);
        const QString log = dir + "/log.sqlite";
        runPlan(benches, log, 8, 8, 4);
        QMap<int, int> failedOn;
        QMap<QString, int> done;
        for (const auto& a : logAttempts(log)) {
            if (a["status"] == "ok") {
                ++done[a["plan_row"]];
                continue;
            }
            const int station = a["station"].toInt();
            QVERIFY2(station >= 1 && station <= 4, qPrintable(a["station"]));
            ++failedOn[station];
            const Fault& fault = faults[station - 1];
            QCOMPARE(a["status"], QString("failed"));
            QCOMPARE(a["plan_row"].isEmpty(), !fault.claimed);
            QCOMPARE(a["verify"], fault.verify);
            QVERIFY2(!a["messages"].isEmpty(), qPrintable(a["messages"]));
            AppState own;
            const sim::RandomRadio radio = sim::randomRadio(benchSeed(station - 1) + 2);
            std::copy(radio.eeprom.begin(), radio.eeprom.end(), own.EEImage.begin());
            // A radio pulled in the read never showed its IDs.
            QCOMPARE(a["ids_before"], fault.claimed ? fleet::IdSummary(own) : QString());
            if (fault.options[0] != "--stuck") continue;
            const QString want = idOf(kFirstId + a["plan_row"].toInt() - 1);
            const QString kept =
                want.left(3) +
                QByteArray(reinterpret_cast<const char*>(radio.eeprom.data()) + 134, 2)
                    .toHex()
                    .toUpper();
            QVERIFY2(a["messages"].endsWith("the radio differs from what was written:\ngroup 1 "
                                            "ANI/ID Number: " +
                                            want + " -> " + kept),
                     qPrintable(a["messages"]));
        }
        QCOMPARE(failedOn, (QMap<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
        QCOMPARE(done.size(), 8);
        for (int n : done) QCOMPARE(n, 1);
        for (int bench = 0; bench < 4; ++bench)
            for (int k : {1, 3}) {
                const AppState got = dumpedRadio(dir, bench, k);
                QCOMPARE(firstDifference(
                             expectedRadio(template_, benchSeed(bench) + k, idHeld(got)), got),
                         QString());
            }
    }

    // One reply lost in the first read (the 100th) or in the read-back (the
    // 3000th): with a retry left the station reads that radio again and it
    // ends ok, the lost reply in its messages; with none it fails.
    void lostReplyIsReadAgain_data() {
        textRows(
            "read, retry|100|1|0|ok|ok;read, no retry|100|0|1|failed|;"
            "read-back, retry|3000|1|0|ok|ok;"
            "read-back, no retry|3000|0|1|failed|read-back failed");
    }
    void lostReplyIsReadAgain() {
        QFETCH(QStringList, row);
        const QString dir = path("lost-" + row[0]);
        Benches benches(dir, {1}, {{"--fault", "drop-reply=eeprom:" + row[1]}});
        const QString log = dir + "/log.sqlite";
        const Run r =
            FleetProcess({templ_, "--ports", benches.ports(), "--ani-from", idOf(kFirstId),
                          "--count", "1", "--once", "--retries", row[2], "--log", log})
                .finish();
        QCOMPARE(r.status, row[3].toInt());
        const auto attempts = logAttempts(log);
        QCOMPARE(attempts.size(), 1);
        QCOMPARE(attempts[0]["status"], row[4]);
        QCOMPARE(attempts[0]["verify"], row[5]);
        QVERIFY2(attempts[0]["messages"].startsWith("COMM ERROR: Error reading radio"),
                 qPrintable(attempts[0]["messages"]));
    }

    // Ctrl-C while a radio is written: once, the radio is finished and the
    // run stops; twice, the write stops at once and the radio is interrupted.
    // Either way the second row is left for another run.
    void interruptedRun_data() { textRows("once|1|0|ok;twice|2|1|interrupted"); }
    void interruptedRun() {
        QFETCH(QStringList, row);
        const QString dir = path("interrupt-" + row[0]);
        Benches benches(dir, {2});
        const QString log = dir + "/log.sqlite";
        FleetProcess run({templ_, "--ports", benches.ports(), "--ani-from", idOf(kFirstId),
                          "--count", "2", "--log", log});
        run.process.setReadChannel(QProcess::StandardError);
        QByteArray seen;
        while (!seen.contains("writing") && run.process.waitForReadyRead(20000))
            seen += run.process.readAllStandardError();
        for (int i = 0; i < row[1].toInt(); ++i) {
            QCOMPARE(::kill(pid_t(run.process.processId()), SIGINT), 0);
            QTest::qWait(50);
        }
        const Run r = run.finish();
        QCOMPARE(r.status, row[2].toInt());
        const auto attempts = logAttempts(log);
        QCOMPARE(attempts.size(), 1);
        QCOMPARE(attempts[0]["status"], row[3]);
        QCOMPARE(tavctl({"fleet", "status", log}).out.section('\n', 0, 0),
                 row[3] == "ok" ? QString("plan rows: 2 (1 done, 0 claimed, 1 left)")
                                : QString("plan rows: 2 (0 done, 0 claimed, 2 left)"));
    }

    // kill -9 while a radio is written: the next run finds the claim stale,
    // logs it interrupted and writes the same row to the radio.
    void killedRunIsTakenOverByTheNext() {
        const QString dir = path("killed");
        Benches benches(dir, {1});
        const QString log = dir + "/log.sqlite";
        // The row from a plan file this time.
        QVERIFY(writeFile(dir + "/plan.csv", "group.*.ani_id\r\n" + idOf(kFirstId).toLatin1()));
        const QStringList args{templ_,  "--ports", benches.ports(), "--plan", dir + "/plan.csv",
                               "--log", log};
        {
            FleetProcess first(args);
            first.process.setReadChannel(QProcess::StandardError);
            QByteArray seen;
            while (!seen.contains("writing") && first.process.waitForReadyRead(20000))
                seen += first.process.readAllStandardError();
            QVERIFY2(seen.contains("writing"), seen.constData());
            QTest::qWait(200);
            QCOMPARE(::kill(pid_t(first.process.processId()), SIGKILL), 0);
            QVERIFY(first.process.waitForFinished(5000));
        }
        auto attempts = logAttempts(log);
        QCOMPARE(attempts.size(), 1);
        QCOMPARE(attempts[0]["status"], QString("writing"));
        const Run second = FleetProcess(args).finish();
        QCOMPARE(second.status, 0);
        attempts = logAttempts(log);
        QCOMPARE(attempts.size(), 2);
        QCOMPARE(attempts[0]["status"], QString("interrupted"));
        QVERIFY(attempts[0]["messages"].contains("the run ended before this radio was done"));
        QCOMPARE(attempts[1]["status"], QString("ok"));
        QCOMPARE(attempts[1]["plan_row"], QString("1"));
        QCOMPARE(attempts[0]["plan_row"], QString("1"));
    }
};

TAV_TEST_GUILESS(TestFleetRun);
#include "tst_fleetrun.moc"
