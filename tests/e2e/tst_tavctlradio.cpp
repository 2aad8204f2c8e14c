// `tavctl read`, `write` and `verify` against `tavctl sim` on a pseudo-terminal:
// a whole radio with its labels and power masks goes out to a file and back,
// `verify` lists how the radio differs from a file, and a radio without a
// per-channel option is warned about as the editor warns.

#include <QTemporaryDir>
#include <QtTest>

#include "E2eSupport.h"
#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/Settings.h"
#include "files/RadioFile.h"
#include "model/MGlobals.h"
#include "sim/RadioImage.h"

using namespace tav;
using namespace tav::test;

namespace {

// A factory radio with patterned group pages, labels and power words.
AppState radioContent(int seed) {
    AppState s;
    const sim::EEPromImage factory = sim::defaultImage();
    std::copy(factory.begin(), factory.end(), s.EEImage.begin());
    for (int a = kPageSize; a < 1920; ++a) s.EEImage[a] = static_cast<uint8_t>(a * 7 + seed);
    for (int a = 36; a < 66; ++a) s.EEImage[a] = static_cast<uint8_t>(a + seed);
    for (int i = 0; i < kLabelImageSize; ++i)
        s.LabelImage[i] = static_cast<uint8_t>(i % 16 == 15 ? 0 : (i * 5 + seed) & 0x7F);
    for (int i = 0; i < kPowerMaskSize; ++i) s.PowerMask[i] = static_cast<uint8_t>(i * 9 + seed);
    const int words = *sim::powerWordsAddress(factory);
    for (int g = 0; g < kGroupCount; ++g) {
        s.EEImage[words + 2 * g] = s.PowerMask[g];
        s.EEImage[words + 2 * g + 1] = s.PowerMask[15 + g];
    }
    return s;
}

void expectSameRadio(const AppState& got, const AppState& want) {
    QVERIFY(
        std::equal(want.EEImage.begin(), want.EEImage.begin() + kEEPromSize, got.EEImage.begin()));
    for (int g = 0; g < kGroupCount; ++g)
        for (int slot = 0; slot < 16; ++slot)
            for (int k = 0; k < 8; ++k) QCOMPARE(got.label(g, slot, k), want.label(g, slot, k));
    QVERIFY(got.PowerMask == want.PowerMask);
}

}  // namespace

class TestTavctlRadio : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!tavctlPath().isEmpty() && dir_.isValid()); }
    void wholeRadioRoundTrip();
    void verifyListsDifferences();
    void groupsLeftOutAreNamed();
    void perChannelWarnings_data();
    void perChannelWarnings();

private:
    ScratchHome home_;  // the editor's settings that tavctl follows
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
};

// The label write takes its prescribed pauses, 20 seconds and more for every
// bank; the radio stops echoing after bank 1, which is enough to prove it.
void TestTavctlRadio::wholeRadioRoundTrip() {
    const AppState original = radioContent(1);
    QVERIFY(WriteRadioFile(path("original.tav"), original).ok());
    Simulator sim({"--image", path("original.tav"), "--fault", "drop-echo=label:129"});
    QVERIFY(!sim.device.isEmpty());

    Run r = tavctl({"read", "--port", sim.device, "--labels", "--trace", path("read.trace"), "-o",
                    path("read.tav")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QString());
    AppState read;
    QVERIFY(ReadRadioFile(path("read.tav"), read).ok());
    expectSameRadio(read, original);

    // The trace holds the whole session, the labels' part at 9600 baud; its lines'
    // form is the trace's own test.
    const QByteArray trace = readFile(path("read.trace"));
    QVERIFY(trace.count(" TX ") > 4000 && trace.contains(" BAUD 9600\n"));

    // Change groups, power masks and bank 1's labels, write them, read them back.
    AppState changed = radioContent(2);
    const sim::EEPromImage factory = sim::defaultImage();
    std::copy(factory.begin(), factory.begin() + kPageSize, changed.EEImage.begin());
    for (int i = 0; i < kLabelImageSize; ++i)
        if (i % 16 != 0) changed.LabelImage[i] = original.LabelImage[i];
    QVERIFY(WriteRadioFile(path("changed.tav"), changed).ok());
    r = tavctl({"write", "--port", sim.device, "--labels", "--skip-global", path("changed.tav")});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, QString("TAV Editor: Unable to upload data to radio\n"));
    r = tavctl({"read", "--port", sim.device, "--labels", "-o", path("back.tav")});
    QCOMPARE(r.status, 0);
    AppState back;
    QVERIFY(ReadRadioFile(path("back.tav"), back).ok());
    // Group 1 to 14 pages and the power words took the new values; the
    // bandwidth bytes too; bytes 9 to 15 of a group page and page 15 kept theirs.
    AppState want = changed;
    for (int a = kPageSize; a < kEEPromSize; ++a) {
        const int off = a % kPageSize;
        if (a >= 1920 || (off >= 9 && off <= 15)) want.EEImage[a] = original.EEImage[a];
        if (off == 8 && a < 1920)
            want.EEImage[a] = (changed.EEImage[a] & 0x8F) | (original.EEImage[a] & 0x70);
    }
    const int words = *sim::powerWordsAddress(factory);
    for (int g = 0; g < kGroupCount; ++g) {
        want.EEImage[words + 2 * g] = changed.PowerMask[g];
        want.EEImage[words + 2 * g + 1] = changed.PowerMask[15 + g];
    }
    expectSameRadio(back, want);

    // Changed only: one channel byte and one label character differ from the
    // radio; all 884 open words of the bandwidth bytes, groups 1 to 14 and the
    // power words, and all 1920 label characters are read.
    changed.EEImage[3 * kPageSize + 20] ^= 0x01;
    changed.label(2, 0, 0) ^= 0x01;
    QVERIFY(WriteRadioFile(path("edited.tav"), changed).ok());
    r = tavctl({"write", "--port", sim.device, "--labels", "--skip-global", "--changed-only",
                "--verify", path("edited.tav")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("1 of 884 words written, 1 of 1920 label characters written\n"));
    r = tavctl({"read", "--port", sim.device, "--labels", "-o", path("back.tav")});
    QVERIFY(ReadRadioFile(path("back.tav"), back).ok());
    QCOMPARE(back.EEImage[3 * kPageSize + 20], changed.EEImage[3 * kPageSize + 20]);
    QCOMPARE(back.label(2, 0, 0), changed.label(2, 0, 0));
}

// `verify` reads the radio as `read` does and compares as `diff` does.
void TestTavctlRadio::verifyListsDifferences() {
    Simulator sim;
    QVERIFY(!sim.device.isEmpty());
    QCOMPARE(tavctl({"read", "--port", sim.device, "-o", path("radio.tav")}).status, 0);
    Run r = tavctl({"verify", "--port", sim.device, path("radio.tav")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QString());

    // A changed channel and a changed byte no field decodes; the file's
    // element 2048 is no part of the radio.
    AppState radio;
    QVERIFY(ReadRadioFile(path("radio.tav"), radio).ok());
    AppState changed = radio;
    changed.EEImage[2 * 128 + 16] = 0x55;  // group 2 channel 1 Rx Freq
    changed.EEImage[2 * 128 + 17] = 0x12;
    changed.EEImage[2 * 128 + 9] ^= 0x01;  // never written
    changed.EEImage[2048] ^= 0xFF;
    QVERIFY(WriteRadioFile(path("changed.tav"), changed).ok());
    r = tavctl({"verify", "--port", sim.device, path("changed.tav")});
    QCOMPARE(r.status, 4);
    const int was = radio.EEImage[2 * 128 + 9];
    QCOMPARE(r.out,
             QStringLiteral("group 2 channel 1 Rx Freq: 155.12000 -> %1\n")
                     .arg(FreqBytesToText(radio.EEImage[256 + 16], radio.EEImage[256 + 17])) +
                 QString::asprintf("byte 0x109: 0x%02X -> 0x%02X\n", was ^ 1, was));

    // Written and read back: what the write may change now matches; the
    // never-written byte is not held against the write.
    r = tavctl({"write", "--port", sim.device, "--verify", path("changed.tav")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QString());
    r = tavctl({"verify", "--port", sim.device, path("changed.tav")});
    QCOMPARE(r.status, 4);
    QCOMPARE(r.out.split(u'\n', Qt::SkipEmptyParts).size(), 1);  // byte 0x109 only
}

// Groups 2 and 15, which the radio is not configured for, hold edits: the
// write leaves them out and says so, exit status 0; checked, the radio differs,
// also after a changed-only write (which has read all but those groups).
void TestTavctlRadio::groupsLeftOutAreNamed() {
    AppState radio;
    const sim::EEPromImage factory = sim::defaultImage();
    std::copy(factory.begin(), factory.end(), radio.EEImage.begin());
    radio.EEImage[pageFlagByte(2)] &= ~pageFlagBit(2);
    QVERIFY(WriteRadioFile(path("radio.tav"), radio).ok());
    Simulator sim({"--image", path("radio.tav")});
    QVERIFY(!sim.device.isEmpty());
    AppState file = radio;
    for (int g : {2, 3, 15}) file.EEImage[g * kPageSize + 16] = 0x55;  // channel 1 Rx Freq
    QVERIFY(WriteRadioFile(path("edited.tav"), file).ok());
    const QString named =
        "Write Radio: Groups 2, 15 are not configured for channel data in this radio; their "
        "channels were not written.\n";
    Run r = tavctl({"write", "--port", sim.device, path("edited.tav")});
    QCOMPARE(r.err, named);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QString());
    r = tavctl({"write", "--port", sim.device, "--changed-only", "--verify", path("edited.tav")});
    QCOMPARE(r.err, named);
    QCOMPARE(r.status, 4);
    const QString none = FreqBytesToText(0, 0), edited = FreqBytesToText(0x55, 0);
    // All but groups 2 and 15 went: of page 0's 19 open words, 61 of each of 13
    // group pages and 15 power words none was left to write.
    QCOMPARE(r.out, QStringLiteral("0 of 827 words written, 0 of 0 label characters written\n"
                                   "group 2 channel 1 Rx Freq: %1 -> %2\n"
                                   "group 15 channel 1 Rx Freq: %1 -> %2\n")
                        .arg(edited, none));
}

void TestTavctlRadio::perChannelWarnings_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("settings");  // Features/KEY=VALUE
    QTest::addColumn<QStringList>("warnings");
    const QString warning = QStringLiteral("Warning: This radio is not factory configured for ");
    const QString readPower = "Read Power: " + warning + "per-channel power control.";
    const QString readBand = "Read Bandwidth: " + warning + "per-channel bandwidth.";
    const QString writePower = "Write Power: " + warning + "per-channel power control.";
    const QString writeBand = "Write Bandwidth: " + warning + "per-channel bandwidth.";
    const QStringList off{"Band=False", "Power=False"};
    QTest::newRow("read, no settings")
        << QStringList{"read"} << QStringList{} << QStringList{readPower, readBand};
    QTest::newRow("read, settings off") << QStringList{"read"} << off << QStringList{};
    QTest::newRow("read, bandwidth on for the run")
        << QStringList{"read", "--per-channel-bandwidth", "on"} << off << QStringList{readBand};
    QTest::newRow("read, power off for the run")
        << QStringList{"read", "--per-channel-power=off"} << QStringList{} << QStringList{readBand};
    QTest::newRow("verify") << QStringList{"verify"} << QStringList{}
                            << QStringList{readPower, readBand};
    QTest::newRow("write") << QStringList{"write"} << QStringList{"Band=False"}
                           << QStringList{writePower};
    QTest::newRow("write, checked")
        << QStringList{"write", "--verify"} << QStringList{} << QStringList{writePower, writeBand};
    QTest::newRow("write, power off for the run")
        << QStringList{"write", "--per-channel-power", "off"} << QStringList{}
        << QStringList{writeBand};
}

// A radio without either option: no bandwidth capability, no power block.
// It keeps none of the file's narrow bits: `verify`, and the read-back of
// `write --verify`, list them.
void TestTavctlRadio::perChannelWarnings() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, settings);
    QFETCH(QStringList, warnings);
    sim::EEPromImage bare = sim::defaultImage();
    sim::setBandwidthCapable(bare, false);
    bare[sim::kDirectoryStart + 2] = 0;  // the power block's directory entry
    AppState file;
    std::copy(bare.begin(), bare.end(), file.EEImage.begin());
    QVERIFY(WriteRadioFile(path("bare.tav"), file).ok());
    file.EEImage[41] |= 0x05;  // group 3, channels 1 and 3
    QVERIFY(WriteRadioFile(path("narrow.tav"), file).ok());
    const QString ini = qEnvironmentVariable("XDG_CONFIG_HOME") + "/TAVEDWIN/TAVEDWIN.ini";
    QFile::remove(ini);
    {
        Settings store(ini);
        for (const QString& s : settings)
            store.save("Features", s.section('=', 0, 0), s.section('=', 1));
    }
    Simulator sim({"--image", path("bare.tav")});
    QVERIFY(!sim.device.isEmpty());
    args << "--port" << sim.device;
    args << (args[0] == "read" ? QStringList{"-o", path("out.tav")}
                               : QStringList{path("narrow.tav")});
    const Run r = tavctl(args);
    QCOMPARE(r.err.split('\n', Qt::SkipEmptyParts), warnings);
    const bool compared = args.contains("verify") || args.contains("--verify");
    QCOMPARE(r.out, compared
                        ? "group 3 channel 1 Narrow: 1 -> 0\ngroup 3 channel 3 Narrow: 1 -> 0\n"
                        : QString());
    QCOMPARE(r.status, compared ? 4 : 0);
}

TAV_TEST_GUILESS(TestTavctlRadio);
#include "tst_tavctlradio.moc"
