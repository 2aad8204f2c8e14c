// Automatic backups: names by kind and time, a counter for the same second,
// the content of a radio file, the newest 50 kept and other files left alone.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
    QStringList out;
    for (const QString& p : paths) out << QFileInfo(p).fileName();
    return out;
}

}  // namespace

class TestBackups : public QObject {
    Q_OBJECT

private slots:
    void defaultFolderIsInTheUserDataFolder() {
        ScratchHome home;
        QCOMPARE(Backups::defaultFolder(), home.path() + QStringLiteral("/data/TAVEDWIN/backups"));
    }

    void savesARadioFileNamedByKindAndTime() {
        QTemporaryDir dir;
        const Backups backups(dir.path() + QStringLiteral("/new/backups"));
        AppState state;
        for (int i = 0; i < kEEImageSize; ++i) state.EEImage[i] = uint8_t(i * 7);
        state.LabelImage[5] = 0x42;
        QString path;
        QVERIFY(backups.save(QStringLiteral("read"), state, at(31, 5), &path).ok());
        QCOMPARE(path, backups.folder() + QStringLiteral("/read-2026-12-06_07-31-05.tav"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), SerializeRadioFile(state));
    }

    void sameSecondGetsACounterAndKeepsTheOrder() {
        QTemporaryDir dir;
        const Backups backups(dir.path());
        const AppState state;
        QVERIFY(backups.save(QStringLiteral("write"), state, at(31, 5)).ok());
        QVERIFY(backups.save(QStringLiteral("read"), state, at(31, 5)).ok());
        QVERIFY(backups.save(QStringLiteral("write"), state, at(31, 5)).ok());
        QVERIFY(backups.save(QStringLiteral("read"), state, at(30, 59)).ok());
        QCOMPARE(
            names(backups.list()),
            (QStringList{"read-2026-12-06_07-30-59.tav", "write-2026-12-06_07-31-05.tav",
                         "read-2026-12-06_07-31-05-2.tav", "write-2026-12-06_07-31-05-3.tav"}));
    }

    void keepsTheNewestFiftyAndNothingElseIsTouched() {
        QTemporaryDir dir;
        const Backups backups(dir.path());
        QFile own(dir.filePath(QStringLiteral("my-radio.tav")));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.close();
        const AppState state;
        // Saved out of time order: the oldest by their names go, not the first saved.
        for (int i = 54; i >= 0; --i)
            QVERIFY(backups
                        .save(i % 2 ? QStringLiteral("read") : QStringLiteral("write"), state,
                              at(i / 60, i % 60))
                        .ok());
        const QStringList kept = names(backups.list());
        QCOMPARE(kept.size(), Backups::kKeep);
        QCOMPARE(kept.first(), QStringLiteral("read-2026-12-06_07-00-05.tav"));
        QCOMPARE(kept.last(), QStringLiteral("write-2026-12-06_07-00-54.tav"));
        QVERIFY(own.exists());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), Backups::kKeep + 1);
    }

    void unwritableFolderIsReported() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const Backups backups(blocker.fileName() + QStringLiteral("/backups"));
        const RadioFileResult r = backups.save(QStringLiteral("read"), AppState(), at(0, 0));
        QVERIFY(!r.ok());
        QVERIFY(!r.description.isEmpty());
    }
};

TAV_TEST_GUILESS(TestBackups);
#include "tst_backups.moc"
