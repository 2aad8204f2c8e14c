// Several benches on one log: two `tavctl fleet run` processes of four
// stations each share 16 plan rows on an SQLite file and on a PostgreSQL
// server; and the runs refused before any radio is touched.

#include <QtTest>

#include "E2eSupport.h"
#include "Fixtures.h"
#include "FleetRig.h"
#include "PgServer.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/QtSerialLink.h"

using namespace tav;
using namespace tav::test;

class TestFleetShared : public QObject {
    Q_OBJECT
    ScratchHome home_;
    QTemporaryDir dir_;
    QString templ_;

    QString path(const QString& name) const { return dir_.filePath(name); }

    // Two processes, four stations each, 16 radios for 16 rows. Ten
    // processes start at once here: a reply held up past the link's half
    // second by a busy machine is retried, as a bench would.
    void twoProcessesShareTheRows(const QString& dir, const QString& log) {
        Benches first(dir + "/a", {2, 2, 2, 2});
        Benches second(dir + "/b", {2, 2, 2, 2});
        const QStringList plan{"--ani-from", "2000000", "--count", "16",
                               "--retries",  "3",       "--log",   log};
        FleetProcess a(QStringList{templ_, "--ports", first.ports()} + plan);
        FleetProcess b(QStringList{templ_, "--ports", second.ports()} + plan);
        const Run ra = a.finish(), rb = b.finish();
        QVERIFY2(ra.status == 0 && rb.status == 0, qPrintable(ra.err + rb.err));
        QMap<int, int> done;
        for (const auto& attempt : logAttempts(log)) {
            QCOMPARE(attempt["status"], QString("ok"));
            ++done[attempt["plan_row"].toInt()];
        }
        QCOMPARE(done.size(), 16);
        QCOMPARE(done.firstKey(), 1);
        QCOMPARE(done.lastKey(), 16);
        for (int n : done) QCOMPARE(n, 1);
    }

private slots:
    void initTestCase() {
        QVERIFY(!tavctlPath().isEmpty());
        templ_ = path("template.tav");
        QVERIFY(WriteRadioFile(templ_, randomImage(78)).ok());
    }

    void twoProcessesOnOneSqliteLog() {
        twoProcessesShareTheRows(path("sqlite"), path("sqlite/log.sqlite"));
    }

    void twoProcessesOnOnePostgresLog() {
        PgServer server;
        if (!server.installed()) QSKIP("PostgreSQL is not installed");
        QVERIFY2(server.ready(), "the throwaway PostgreSQL server did not start");
        twoProcessesShareTheRows(path("pg"), server.url());
    }

    // Refused before any radio is touched: the message, the exit status, and
    // the radio on the line as it came.
    void refusedRuns_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const QStringList& args, int status,
                            const QString& message) {
            QTest::newRow(name) << args << status << message;
        };
        row("ani not hex", {"--ani-from", "12G", "--count", "2"}, 3,
            "tavctl fleet run: --ani-from needs an ANI/ID number of 1 to 7 hexadecimal digits, "
            "not '12G'");
        row("ani too long", {"--ani-from", "FFFFFFE", "--count", "3"}, 3,
            "tavctl fleet run: row 3: the ANI/ID 10000000 has more than 7 digits");
        row("step 0", {"--ani-from", "1", "--ani-step", "0", "--count", "2"}, 3,
            "tavctl fleet run: --ani-step 0 would give every radio the same ANI/ID");
        row("plan of an unknown field", {"--plan", "CORPUS/unknown-field.csv"}, 3,
            "tavctl fleet run: the plan: row 1: group.*.colour: no group field \"colour\"*");
        row("plan of a read-only field", {"--plan", "CORPUS/read-only.csv"}, 3,
            "tavctl fleet run: the plan: row *");
        row("plan giving an ID twice", {"--plan", "CORPUS/duplicate.csv"}, 3,
            "tavctl fleet run: the plan: row 2: group 1 ANI/ID 0000005 is also row 1's; nothing "
            "written");
        row("plan with a short row", {"--plan", "CORPUS/short-row.csv"}, 3,
            "tavctl fleet run: the plan CORPUS/short-row.csv: row 2 (line 3): 1 values for 2 "
            "fields; nothing written");
        row("no plan", {"--count", "2"}, 2,
            "tavctl fleet run: give either --plan FILE or --ani-from HEX");
        row("no count", {"--ani-from", "1"}, 2,
            "tavctl fleet run: --ani-from needs --count N (how many radios)");
        row("no such port", {"--ani-from", "1", "--count", "1", "--ports", "/dev/ttyNONE9"}, 1,
            "tavctl fleet run: cannot open /dev/ttyNONE9: /dev/ttyNONE9 does not exist.*");
        row("port twice", {"--ani-from", "1", "--count", "1", "--ports", "DEV,DEV"}, 2,
            "tavctl fleet run: --ports names a device twice");
        row("busy port", {"--ani-from", "1", "--count", "1", "--ports", "BUSY"}, 1,
            "tavctl fleet run: cannot open DEV: DEV is in use by another program*");
        row("log unopenable", {"--ani-from", "1", "--count", "1", "--log", "/nonexistent/dir/l.db"},
            3, "tavctl fleet run: cannot open the log /nonexistent/dir/l.db: *");
        row("log of another plan", {"--ani-from", "5", "--count", "1", "--log", "LOG"}, 3,
            "tavctl fleet run: the log LOG holds another plan (row 1 differs); start a new log "
            "for this plan; nothing written");
    }
    void refusedRuns() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString dir = path(QTest::currentDataTag());
        Benches bench(dir, {1});
        // A log that already holds another plan, for the row that needs one.
        const QString log = dir + "/log.sqlite";
        {
            fleet::FleetLog other(*fleet::LogTarget::parse(log, nullptr), "other-plan");
            fleet::FleetPlan plan;
            QVERIFY(fleet::PlanFromAniRange("1", 1, 1, plan, nullptr));
            QVERIFY(other.open());
            QVERIFY(other.prepareJob(
                QCryptographicHash::hash(readFile(templ_), QCryptographicHash::Sha256).toHex(),
                plan));
        }
        QStringList full{templ_, "--ports", bench.ports(), "--log", log};
        full += args;
        // A port another program holds.
        QtSerialLink holder(bench.devices[0]);
        if (full.contains("BUSY")) QVERIFY(holder.open());
        full.replaceInStrings("BUSY", bench.devices[0]);
        full.replaceInStrings("DEV", bench.devices[0]).replaceInStrings("LOG", log);
        full.replaceInStrings("CORPUS",
                              qEnvironmentVariable("TAV_SOURCE_DIR") + "/fuzz/corpus/fleetplan");
        message.replace("LOG", log).replace("DEV", bench.devices[0]);
        message.replace("CORPUS",
                        qEnvironmentVariable("TAV_SOURCE_DIR") + "/fuzz/corpus/fleetplan");
        const Run r = FleetProcess(full).finish();
        holder.close();
        QCOMPARE(r.status, status);
        const QString first = r.err.section('\n', 0, 0);
        if (message.endsWith('*'))
            QVERIFY2(first.startsWith(message.chopped(1)), qPrintable(r.err));
        else
            QCOMPARE(first, message);
        bench.sims[0]->process.terminate();
        QVERIFY(bench.sims[0]->process.waitForFinished(5000));
        AppState radio;
        QVERIFY(ReadRadioFile(dir + "/bench-0/radio-1.tav", radio).ok());
        const sim::RandomRadio untouched = sim::randomRadio(benchSeed(0) + 1);
        QVERIFY(
            std::equal(untouched.eeprom.begin(), untouched.eeprom.end(), radio.EEImage.begin()));
    }
};

TAV_TEST_GUILESS(TestFleetShared);
#include "tst_fleetshared.moc"
