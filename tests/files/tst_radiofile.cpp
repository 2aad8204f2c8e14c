#include <sys/resource.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "Fixtures.h"
#include "TestMain.h"
#include "files/RadioFile.h"

using namespace tav;
using namespace tav::test;

class TestRadioFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    // EEPROM and element 2048 from offset 0, the labels from 2049, then byte b
    // of the power mask of group index n at 4097 + 15b + n: 4127 bytes.
    void layoutOffsets() {
        const AppState s = randomImage(1);
        const QByteArray bytes = SerializeRadioFile(s);
        QCOMPARE(bytes.size(), 4127);
        QCOMPARE(bytes.left(2049).toHex(), hexBytes(s.EEImage.data(), 2049).toLower());
        QCOMPARE(bytes.mid(2049, 2048).toHex(), hexBytes(s.LabelImage.data(), 2048).toLower());
        QCOMPARE(bytes.mid(4097).toHex(), hexBytes(s.PowerMask.data(), 30).toLower());
    }

    // What a file reaches comes from the file; the rest keeps its value. A
    // file shorter than the EEPROM changes nothing.
    void fileFillsWhatItReaches() {
        for (int size : {0, 2047, 2048, 3000, 4126, 5000}) {
            const QByteArray file =
                SerializeRadioFile(randomImage(5)).leftJustified(size, 'x', true);
            QVERIFY(writeFile(path("part.frq"), file));
            const AppState before = randomImage(6);
            AppState s = before;
            const RadioFileResult r = ReadRadioFile(path("part.frq"), s);
            const QByteArray now = SerializeRadioFile(s), old = SerializeRadioFile(before);
            QCOMPARE(r.status, size < 2048 ? RadioFileResult::TooShort : RadioFileResult::Ok);
            const int reached = size < 2048 ? 0 : std::min(size, 4127);
            QCOMPARE(now.left(reached), file.left(reached));
            QCOMPARE(now.mid(reached), old.mid(reached));
        }
    }

    void notARegularFileIsRefused() {
        QVERIFY(QDir(dir_.path()).mkdir("folder.tav"));
        QVERIFY(::mkfifo(QFile::encodeName(path("pipe.tav")).constData(), 0600) == 0);
        const AppState before = randomImage(7);
        AppState s = before;  // nothing read, nothing written
        for (const QString& p : {path("folder.tav"), path("pipe.tav"), QStringLiteral("/dev/zero")})
            QCOMPARE(ReadRadioFile(p, s).status, RadioFileResult::NotAFile);
        QCOMPARE(SerializeRadioFile(s), SerializeRadioFile(before));
        for (const QString& p : {path("folder.tav"), path("pipe.tav")})
            QCOMPARE(WriteRadioFile(p, s).status, RadioFileResult::NotAFile);
        QVERIFY(QFileInfo(path("folder.tav")).isDir() && !QFileInfo(path("pipe.tav")).isFile());
    }

    // Name|save|path below the folder|errno|its description.
    void platformErrors_data() {
        textRows(
            "open missing file|0|missing.tav|53|No such file or directory;"
            "open in missing folder|0|nofolder/a.tav|76|No such file or directory;"
            "open below a file|0|plain/a.tav|76|Not a directory;"
            "save in missing folder|1|nofolder/a.tav|76|No such file or directory;"
            "save below a file|1|plain/a.tav|76|Not a directory");
    }
    void platformErrors() {
        QFETCH(QStringList, row);
        QVERIFY(writeFile(path("plain"), "x"));
        const AppState before = randomImage(8);
        AppState s = before;
        const RadioFileResult r =
            row[1] == "1" ? WriteRadioFile(path(row[2]), s) : ReadRadioFile(path(row[2]), s);
        QCOMPARE(r.status, RadioFileResult::SystemError);
        QCOMPARE(QString::number(r.errorNumber) + "|" + r.description, row.mid(3).join("|"));
        QCOMPARE(SerializeRadioFile(s), SerializeRadioFile(before));
    }

    // A write that fails part-way (here: the process may not grow a file
    // past 1000 bytes) must leave the old file exactly as it was.
    void failedWriteKeepsOldFile() {
        const QByteArray old(600, '\x11');
        QVERIFY(writeFile(path("keep.tav"), old));
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit small = saved;
        small.rlim_cur = 1000;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        const RadioFileResult r = WriteRadioFile(path("keep.tav"), randomImage(10));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(r.status, RadioFileResult::SystemError);
        QCOMPARE(QString::number(r.errorNumber) + " " + r.description, "61 File too large");
        QCOMPARE(readFile(path("keep.tav")), old);
        QCOMPARE(QDir(dir_.path()).entryList({"keep*"}, QDir::Files | QDir::Hidden),
                 QStringList{"keep.tav"});
    }
};

TAV_TEST_GUILESS(TestRadioFile);
#include "tst_radiofile.moc"
