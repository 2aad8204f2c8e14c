#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>

#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "files/Backups.h"
#include "files/RadioFile.h"

using namespace tav;
using namespace tav::test;

namespace {
QDateTime at(int minute, int second) {
    return QDateTime(QDate(2026, 12, 6), QTime(7, minute, second));
}

QStringList names(const QStringList& paths) {
    return QStringList(paths).replaceInStrings(QRegularExpression(".*/"), "");
}
}  // namespace

class TestBackups : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void defaultFolderIsInTheUserDataFolder() {
        ScratchHome home;
        QCOMPARE(Backups::defaultFolder(), home.path() + QStringLiteral("/data/TAVEDWIN/backups"));
    }

    void savesARadioFileNamedByKindAndTime() {
        const Backups backups(dir_.filePath(QStringLiteral("new/backups")));
        const AppState state = randomImage(3);
        QString path;
        QVERIFY(backups.save(QStringLiteral("read"), state, at(31, 5), &path).ok());
        QCOMPARE(path, backups.folder() + QStringLiteral("/read-2026-12-06_07-31-05.tav"));
        QCOMPARE(readFile(path), SerializeRadioFile(state));
    }

    void sameSecondGetsACounterAndKeepsTheOrder() {
        const Backups backups(dir_.filePath(QStringLiteral("second")));
        for (const char* kind : {"write", "read", "write"})
            QVERIFY(backups.save(QString::fromLatin1(kind), AppState(), at(31, 5)).ok());
        QVERIFY(backups.save(QStringLiteral("read"), AppState(), at(30, 59)).ok());
        QCOMPARE(
            names(backups.list()),
            (QStringList{"read-2026-12-06_07-30-59.tav", "write-2026-12-06_07-31-05.tav",
                         "read-2026-12-06_07-31-05-2.tav", "write-2026-12-06_07-31-05-3.tav"}));
    }

    void keepsTheNewestFiftyAndNothingElseIsTouched() {
        const Backups backups(dir_.filePath(QStringLiteral("fifty")));
        QVERIFY(QDir().mkpath(backups.folder()));
        QVERIFY(writeFile(backups.folder() + QStringLiteral("/my-radio.tav"), "mine"));
        // Saved out of time order: the oldest by their names go, not the first saved.
        for (int i = 54; i >= 0; --i)
            QVERIFY(backups.save(i % 2 ? "read" : "write", AppState(), at(i / 60, i % 60)).ok());
        const QStringList kept = names(backups.list());
        QCOMPARE(kept.size(), Backups::kKeep);
        QCOMPARE(kept.first() + kept.last(),
                 "read-2026-12-06_07-00-05.tavwrite-2026-12-06_07-00-54.tav");
        QCOMPARE(readFile(backups.folder() + QStringLiteral("/my-radio.tav")), QByteArray("mine"));
        QCOMPARE(QDir(backups.folder()).entryList(QDir::Files).size(), Backups::kKeep + 1);
    }

    // Stations saving in one second never take one name; a keep of 0 prunes nothing.
    void concurrentSaversEachGetAFile() {
        const Backups backups(dir_.filePath(QStringLiteral("threads")), 0);
        std::atomic<int> saved{0};
        const auto save = [&backups, &saved] {
            for (int i = 0; i < 30; ++i)
                saved += backups.save(QStringLiteral("station1"), AppState(), at(1, 1)).ok();
        };
        std::thread a(save), b(save);
        a.join();
        b.join();
        QCOMPARE(saved.load(), 60);
        QCOMPARE(backups.list().size(), 60);
    }

    void unwritableFolderIsReported() {
        QVERIFY(writeFile(dir_.filePath(QStringLiteral("file")), "x"));
        const Backups backups(dir_.filePath(QStringLiteral("file/backups")));
        const RadioFileResult r = backups.save("read", AppState(), at(0, 0));
        QVERIFY(!r.ok() && !r.description.isEmpty());
    }
};

TAV_TEST_GUILESS(TestBackups);
#include "tst_backups.moc"
