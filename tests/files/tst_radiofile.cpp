#include <sys/resource.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <random>

#include "TestMain.h"
#include "files/RadioFile.h"

using namespace tav;

namespace {

AppState randomState(unsigned seed) {
    AppState s;
    std::mt19937 rng(seed);
    for (auto& b : s.EEImage) b = static_cast<uint8_t>(rng());
    for (auto& b : s.LabelImage) b = static_cast<uint8_t>(rng());
    for (auto& b : s.PowerMask) b = static_cast<uint8_t>(rng());
    return s;
}

bool sameBlocks(const AppState& a, const AppState& b) {
    return a.EEImage == b.EEImage && a.LabelImage == b.LabelImage && a.PowerMask == b.PowerMask;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestRadioFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void layoutOffsets() {
        const AppState s = randomState(1);
        const QByteArray bytes = SerializeRadioFile(s);
        QCOMPARE(bytes.size(), 4127);
        for (int i = 0; i <= 2048; ++i) QCOMPARE(uint8_t(bytes[i]), s.EEImage[i]);
        for (int k = 0; k < 2048; ++k) QCOMPARE(uint8_t(bytes[2049 + k]), s.LabelImage[k]);
        // Byte b of the power mask of group g (1..15) at 4097 + 15*b + (g-1);
        // the mask of group index n, byte b, is PowerMask element n + 15*b.
        for (int g = 1; g <= 15; ++g)
            for (int b = 0; b <= 1; ++b)
                QCOMPARE(uint8_t(bytes[4097 + 15 * b + (g - 1)]), s.PowerMask[(g - 1) + 15 * b]);
    }

    void shortFileIsRefused_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("2047") << 2047;
    }
    void shortFileIsRefused() {
        QFETCH(int, size);
        writeBytes(path("short.tav"), QByteArray(size, '\x5A'));
        const AppState before = randomState(4);
        AppState s = before;
        QCOMPARE(ReadRadioFile(path("short.tav"), s).status, RadioFileResult::TooShort);
        QVERIFY(sameBlocks(s, before));
    }

    // What a file reaches comes from the file; the rest keeps its value.
    void partialFileFillsWhatItReaches_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("EEPROM only (.frq)") << 2048;
        QTest::newRow("half the labels") << 3000;
        QTest::newRow("one power byte short") << 4126;
        QTest::newRow("longer than a radio file") << 5000;
    }
    void partialFileFillsWhatItReaches() {
        QFETCH(int, size);
        QByteArray file(size, 0);
        std::mt19937 rng(5);
        for (auto& c : file) c = static_cast<char>(rng());
        writeBytes(path("part.frq"), file);
        const AppState before = randomState(6);
        AppState s = before;
        QVERIFY(ReadRadioFile(path("part.frq"), s).ok());
        const QByteArray now = SerializeRadioFile(s);
        const QByteArray old = SerializeRadioFile(before);
        const int reached = std::min(size, 4127);
        QCOMPARE(now.left(reached), file.left(reached));
        QCOMPARE(now.mid(reached), old.mid(reached));
    }

    void notARegularFileIsRefused() {
        QVERIFY(QDir(dir_.path()).mkdir("folder.tav"));
        QVERIFY(::mkfifo(QFile::encodeName(path("pipe.tav")).constData(), 0600) == 0);
        const AppState before = randomState(7);
        AppState s = before;
        for (const QString& p :
             {path("folder.tav"), path("pipe.tav"), QStringLiteral("/dev/zero")}) {
            QCOMPARE(ReadRadioFile(p, s).status, RadioFileResult::NotAFile);
            QVERIFY(sameBlocks(s, before));
        }
        for (const QString& p : {path("folder.tav"), path("pipe.tav")})
            QCOMPARE(WriteRadioFile(p, s).status, RadioFileResult::NotAFile);
        QVERIFY(QFileInfo(path("folder.tav")).isDir());
        QVERIFY(!QFileInfo(path("pipe.tav")).isFile());
    }

    void platformErrors_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        const QString noEntry = QStringLiteral("No such file or directory");
        const QString notDir = QStringLiteral("Not a directory");
        QTest::newRow("open missing file") << false << "missing.tav" << 53 << noEntry;
        QTest::newRow("open in missing folder") << false << "nofolder/a.tav" << 76 << noEntry;
        QTest::newRow("open below a file") << false << "plain/a.tav" << 76 << notDir;
        QTest::newRow("save in missing folder") << true << "nofolder/a.tav" << 76 << noEntry;
        QTest::newRow("save below a file") << true << "plain/a.tav" << 76 << notDir;
    }
    void platformErrors() {
        QFETCH(bool, save);
        QFETCH(QString, relative);
        QFETCH(int, number);
        QFETCH(QString, description);
        writeBytes(path("plain"), "x");
        const AppState before = randomState(8);
        AppState s = before;
        const RadioFileResult r =
            save ? WriteRadioFile(path(relative), s) : ReadRadioFile(path(relative), s);
        QCOMPARE(r.status, RadioFileResult::SystemError);
        QCOMPARE(r.errorNumber, number);
        QCOMPARE(r.description, description);
        QVERIFY(sameBlocks(s, before));
    }

    void saveOverLongerFileLeavesNoTail() {
        writeBytes(path("long.tav"), QByteArray(10000, '\xEE'));
        const AppState s = randomState(9);
        QVERIFY(WriteRadioFile(path("long.tav"), s).ok());
        QCOMPARE(readBytes(path("long.tav")), SerializeRadioFile(s));
    }

    // A write that fails part-way (here: the process may not grow a file
    // past 1000 bytes) must leave the old file exactly as it was.
    void failedWriteKeepsOldFile() {
        const QByteArray old(600, '\x11');
        writeBytes(path("keep.tav"), old);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit small = saved;
        small.rlim_cur = 1000;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        const RadioFileResult r = WriteRadioFile(path("keep.tav"), randomState(10));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        QCOMPARE(r.status, RadioFileResult::SystemError);
        QCOMPARE(r.errorNumber, 61);
        QCOMPARE(r.description, QStringLiteral("File too large"));
        QCOMPARE(readBytes(path("keep.tav")), old);
        // No temporary file is left beside it.
        QCOMPARE(QDir(dir_.path()).entryList({"keep*"}, QDir::Files | QDir::Hidden),
                 QStringList{"keep.tav"});
    }
};

TAV_TEST_GUILESS(TestRadioFile);
#include "tst_radiofile.moc"
