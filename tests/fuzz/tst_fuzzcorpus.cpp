// Replays the kept fuzzing corpus through the fuzzers' own entry points, so
// every input that once found something (or widened coverage) is checked on
// each build with the normal compiler.
#include <QDir>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "../../fuzz/FuzzEntries.h"

using Entry = int (*)(const uint8_t*, size_t);
Q_DECLARE_METATYPE(Entry)

class TestFuzzCorpus : public QObject {
    Q_OBJECT

private slots:
    void corpusPassesItsRules_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Entry>("entry");
        const std::pair<const char*, Entry> targets[] = {
            {"radiofile", &tav::fuzz::FuzzRadioFileLoader},
            {"csvimport", &tav::fuzz::FuzzCsvImport},
            {"fleetplan", &tav::fuzz::FuzzFleetPlan},
            {"fieldedits", &tav::fuzz::FuzzFieldEdits},
        };
        for (const auto& [name, entry] : targets) {
            const QDir dir(qEnvironmentVariable("TAV_SOURCE_DIR") + "/fuzz/corpus/" + name);
            QVERIFY2(dir.exists(), qPrintable(dir.path()));
            const QStringList files = dir.entryList(QDir::Files, QDir::Name);
            QVERIFY(!files.isEmpty());
            for (const QString& f : files)
                QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(name), f)))
                    << dir.filePath(f) << entry;
        }
    }
    void corpusPassesItsRules() {
        QFETCH(QString, file);
        QFETCH(Entry, entry);
        const QByteArray bytes = tav::test::readFile(file);
        // A broken rule aborts the test program with the rule's text.
        QCOMPARE(entry(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())),
                 0);
    }
};

TAV_TEST_GUILESS(TestFuzzCorpus);
#include "tst_fuzzcorpus.moc"
