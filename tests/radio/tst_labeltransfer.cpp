// Label transfer through the program loaded into the radio's RAM: the baud
// switch, the exact download, label addressing, retries and their pauses, the
// messages, and that the radio ends released at 4800 baud.

#include <QRandomGenerator>
#include <algorithm>

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

using Controls = std::vector<std::pair<uint8_t, uint8_t>>;

void randomLabels(sim::LabelMemory& m, quint32 seed) {
    QRandomGenerator rng(seed);
    for (auto& b : m) b = static_cast<uint8_t>(rng.bounded(256));
}

// Position of the first occurrence of `needle` in `hay`, or -1.
long find(const Bytes& hay, const Bytes& needle, long from = 0) {
    const auto it = std::search(hay.begin() + from, hay.end(), needle.begin(), needle.end());
    return it == hay.end() ? -1 : static_cast<long>(it - hay.begin());
}

void expectReleasedAt4800(RadioRig& rig) {
    QCOMPARE(rig.radio.state(), sim::VirtualRadio::State::Idle);
    QCOMPARE(rig.radio.baud(), 4800);
    QCOMPARE(rig.link.baudRate(), 4800);
    QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
    QVERIFY(!rig.link.isOpen());
}

}  // namespace

class TestLabelTransfer : public QObject {
    Q_OBJECT

private slots:
    void readAllBanks() {
        RadioRig rig;
        randomLabels(rig.radio.labels(), 1);
        rig.state.LabelImage.fill(0x33);

        QVERIFY(rig.com.Read_Labels(-1));
        std::array<uint8_t, kLabelImageSize> expected{};
        expected.fill(0x33);
        sim::labelImageFrom(rig.radio.labels(), expected);
        QVERIFY(rig.state.LabelImage == expected);
        for (int slot = 0; slot < 16; ++slot) QCOMPARE(rig.state.label(15, slot, 0), uint8_t{0x33});
        QVERIFY(rig.progress.log.contains(QStringLiteral("max=240")));
        QCOMPARE(rig.progress.value, 240);
        QVERIFY(!rig.progress.visible);
        QCOMPARE(rig.progress.log.first(), QStringLiteral("ShowForm:Please Wait - Reading Labels"));
        QCOMPARE(rig.progress.log.last(), QStringLiteral("HideForm"));
        QCOMPARE(rig.radio.labelControls(),
                 (Controls{{0xF6, 0x00}, {0xFE, 0x44}, {0xFF, 0x10}, {0xF6, 0x80}, {0xFE, 0x45}}));
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.clock.beeps(), 1);
        expectReleasedAt4800(rig);
    }

    void readOneBank() {
        RadioRig rig;
        randomLabels(rig.radio.labels(), 2);
        rig.state.LabelImage.fill(0x33);

        QVERIFY(rig.com.Read_Labels(2));
        const Bytes wire = rig.radio.received();
        const long first = find(wire, bytes({0x02, 0x01}));
        QCOMPARE(hex(Bytes(wire.begin() + first, wire.begin() + first + 4)),
                 hex(bytes({0x02, 0x01, 0x29, 0x00})));
        for (int g = 0; g < 16; ++g)
            for (int slot = 0; slot < 16; ++slot)
                for (int k = 0; k < 8; ++k) {
                    const uint8_t want =
                        g == 2 ? rig.radio.labels()[sim::labelMemoryAddress(3, slot + 1, k)] : 0x33;
                    QCOMPARE(rig.state.label(g, slot, k), want);
                }
        QVERIFY(rig.progress.log.contains(QStringLiteral("max=16")));
    }

    void writeAllBanks() {
        RadioRig rig;
        QRandomGenerator rng(3);
        for (auto& b : rig.state.LabelImage) b = static_cast<uint8_t>(rng.bounded(256));
        rig.state.label(0, 1, 7) = 0x5E;
        rig.radio.labels().fill(0xFF);

        QVERIFY(rig.com.Write_Labels(-1));
        const sim::LabelMemory expected = sim::labelMemoryFrom(rig.state.LabelImage);
        QVERIFY(rig.radio.labels() == expected);
        // Group 0, slot 1, cell 7 goes to label memory address 8.
        QVERIFY(find(rig.radio.received(), bytes({0x03, 0x01, 0x68, 0x08, 0x5E})) >= 0);
        QCOMPARE(rig.radio.labels()[8], uint8_t{0x5E});
        QVERIFY(rig.radio.labelControls().empty());
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.progress.value, 240);
        expectReleasedAt4800(rig);
    }

    void writeChangedOnly() {
        RadioRig rig;
        randomLabels(rig.radio.labels(), 4);
        sim::labelImageFrom(rig.radio.labels(), rig.state.LabelImage);
        rig.state.label(2, 0, 7) ^= 0x11;   // bank 3, slot 1, its first character
        rig.state.label(2, 15, 0) ^= 0x22;  // bank 3, slot 16, its last character
        rig.state.label(4, 3, 3) ^= 0x33;   // bank 5: not written
        rig.com.ChangedOnly = true;
        sim::LabelMemory expected = rig.radio.labels();
        expected[sim::labelMemoryAddress(3, 1, 7)] = rig.state.label(2, 0, 7);
        expected[sim::labelMemoryAddress(3, 16, 0)] = rig.state.label(2, 15, 0);

        QVERIFY(rig.com.Write_Labels(2));
        // After the download: the labels of bank 3 read as a label read reads
        // them, then the two characters written, the end of label work, 4800 baud.
        Bytes wire;
        const auto control = [&wire](int x, int y) { append(wire, bytes({3, 0, 0x60, x, y})); };
        control(0xF6, 0x00);
        control(0xFE, 0x44);
        control(0xFF, 0x10);
        for (int a = 256; a < 384; ++a) append(wire, bytes({0x02, 0x01, 0x29, a & 0xFF}));
        control(0xF6, 0x80);
        control(0xFE, 0x45);
        append(wire, bytes({0x03, 0x01, 0x69, 0x00, rig.state.label(2, 0, 7)}));
        append(wire, bytes({0x03, 0x01, 0x69, 0x7F, rig.state.label(2, 15, 0)}));
        append(wire, bytes({0x00, 0x00, 0xD0, 0x0D, 0x31, 0x28, 0x01}));
        const Bytes all = rig.radio.received();
        const long download = find(all, bytes({0xF0, 0xE1})) + 4 + 140;
        QCOMPARE(hex(Bytes(all.begin() + download, all.end())), hex(wire));
        QVERIFY(rig.radio.labels() == expected);
        QCOMPARE(rig.com.tally().labelCharsWritten, 2);
        QCOMPARE(rig.com.tally().labelCharsConsidered, 128);
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.clock.beeps(), 1);
        expectReleasedAt4800(rig);
    }

    void writeInvalidBank() {
        RadioRig rig;
        const sim::LabelMemory before = rig.radio.labels();

        QVERIFY(!rig.com.Write_Labels(15));
        QStringList boxes;
        for (const ShownBox& box : rig.prompter.shown) boxes << boxLine(box);
        QCOMPARE(
            boxes,
            (QStringList{
                boxLine("Requested bank is invalid", "", MsgButtons::Ok, MsgIcon::None),
                boxLine("Unable to upload data to radio", "", MsgButtons::Ok, MsgIcon::None)}));
        const Bytes wire = rig.radio.received();
        QVERIFY(find(wire, bytes({0xD0, 0x0D, 0x30})) >= 0);  // hooked and switched to 9600 first
        QVERIFY(find(wire, bytes({0xD0, 0x0D, 0x31})) > find(wire, bytes({0xD0, 0x0D, 0x30})));
        QVERIFY(rig.radio.labels() == before);
        expectReleasedAt4800(rig);
    }

    void programDownload() {
        RadioRig rig;
        QVERIFY(rig.com.Read_Labels(0));
        const Bytes wire = rig.radio.received();
        const long start = find(wire, bytes({0xF0, 0xE1}));
        QVERIFY(start > 0);
        const Bytes head(wire.begin() + start + 2, wire.begin() + start + 7);
        QCOMPARE(hex(head), hex(bytes({0x52, 0x8C, 0x00, 0x81, 0x9F})));
        QCOMPARE(wire[static_cast<std::size_t>(start + 2 + 2 + 139)], uint8_t{0x9B});
        // The loader went in by 25 RAM writes just before, from 0xE0 up.
        const long loader = find(wire, bytes({0xD0, 0xE0, 0x9C}));
        QCOMPARE(loader, start - 25 * 3);
        QCOMPARE(hex(Bytes(wire.begin() + start - 3, wire.begin() + start)),
                 hex(bytes({0xD0, 0xF8, 0x81})));
    }

    void readRetriesWithGrowingPauses() {
        RadioRig rig;
        // The third label byte's answer loses its second byte at every try.
        rig.radio.setFaults(
            faults("drop-reply=label:6,drop-reply=label:8,drop-reply=label:10,"
                   "drop-reply=label:12"));

        QVERIFY(!rig.com.Read_Labels(0));
        QCOMPARE(rig.prompter.texts(),
                 QStringList{QStringLiteral("Unable to upload data from radio")});
        // Every read request of the label program, with the time its last byte arrived.
        std::vector<std::pair<double, Bytes>> requests;
        const auto& log = rig.radio.wireLog();
        for (std::size_t i = 0; i + 3 < log.size(); ++i)
            if (log[i].dir == sim::Direction::ToRadio && log[i].value == 0x02 &&
                log[i + 1].value == 0x01 && log[i].baud == 9600 &&
                (log[i + 2].value & 0xF8) == 0x28)
                requests.push_back(
                    {log[i + 3].time, bytes({0x02, 0x01, log[i + 2].value, log[i + 3].value})});
        QCOMPARE(requests.size(), std::size_t{6});
        for (std::size_t i = 2; i < 6; ++i)
            QCOMPARE(hex(requests[i].second), hex(bytes({2, 1, 0x28, 2})));
        // Between tries: the first reply byte, 0.5 s without the second, then the pause.
        const double request = 4 * sim::VirtualRadio::byteTime(9600);
        const double reply = sim::VirtualRadio::byteTime(9600);
        for (int t = 0; t < 3; ++t) {
            const double gap =
                requests[3 + t].first - requests[2 + t].first - request - reply - 0.5;
            QVERIFY2(qAbs(gap * 1000 - (7 + t)) < 0.5, qPrintable(QString::number(gap * 1000)));
        }
        expectReleasedAt4800(rig);
    }

    void cancelStopsBetweenTries_data() {
        QTest::addColumn<bool>("write");
        QTest::newRow("read") << false;
        QTest::newRow("changed-only write, while reading") << true;
    }

    void cancelStopsBetweenTries() {
        QFETCH(bool, write);
        RadioRig rig;
        rig.progress.cancelAtValue = 5;
        rig.progress.cancelled = true;  // left over from an earlier transfer
        rig.state.LabelImage.fill(0x41);
        rig.com.ChangedOnly = true;
        QVERIFY(!(write ? rig.com.Write_Labels(-1) : rig.com.Read_Labels(-1)));
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.progress.value, 5);
        QCOMPARE(rig.radio.labelControls().size(), std::size_t{5});  // the read is still finished
        QVERIFY(rig.radio.labels() == sim::LabelMemory{});
        expectReleasedAt4800(rig);
    }

    void failures_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("changedOnly");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("released");  // the radio ends idle at 4800 baud
        const QString baud = QStringLiteral("Unable to set baud rate");
        const QString init = QStringLiteral("Transfer initialization error");
        const QStringList toRadio{QStringLiteral("Unable to upload data to radio")};
        // The radio went to 9600 but its answer was lost: the port goes back to
        // 4800 alone, and the radio cannot hear the release.
        QTest::newRow("no answer at 9600")
            << "drop-reply=baud:1" << false << false << QStringList{baud} << false;
        QTest::newRow("loader byte not echoed")
            << "drop-echo=ram:4" << true << false << QStringList{init} << true;
        QTest::newRow("loader byte garbled")
            << "corrupt-echo=ram:25" << false << false << QStringList{init} << true;
        // A garbled download crashes the radio: nothing answers any more.
        QTest::newRow("download garbled")
            << "corrupt-in=loader:40" << false << false
            << QStringList{QStringLiteral("Unable to upload data from radio"), baud} << false;
        QTest::newRow("label byte not echoed")
            << "drop-echo=label:9" << true << false << toRadio << true;
        // Changed-only, bank 1 differs in all its 128 characters.
        QTest::newRow("changed: a label byte unread after four tries")
            << "drop-reply=label:2,drop-reply=label:4,drop-reply=label:6,drop-reply=label:8" << true
            << true << toRadio << true;
        QTest::newRow("changed: last label byte unread")
            << "drop-reply=label:256,drop-reply=label:258,drop-reply=label:260,"
               "drop-reply=label:262"
            << true << true << toRadio << true;
        for (int n : {1, 77, 128}) {
            QTest::addRow("changed: echo %d lost", n)
                << QStringLiteral("drop-echo=label:%1").arg(n) << true << true << toRadio << true;
            QTest::addRow("changed: echo %d garbled", n)
                << QStringLiteral("corrupt-echo=label:%1").arg(n) << true << true << toRadio
                << true;
        }
    }

    void failures() {
        QFETCH(QString, fault);
        QFETCH(bool, write);
        QFETCH(bool, changedOnly);
        QFETCH(QStringList, texts);
        QFETCH(bool, released);
        RadioRig rig;
        rig.radio.setFaults(faults(fault));
        rig.com.ChangedOnly = changedOnly;
        rig.state.LabelImage.fill(0x41);
        QVERIFY(!(write ? rig.com.Write_Labels(0) : rig.com.Read_Labels(0)));
        QCOMPARE(rig.prompter.texts(), texts);
        if (released) expectReleasedAt4800(rig);
        QCOMPARE(rig.link.baudRate(), 4800);
        QVERIFY(!rig.link.isOpen());
        if (!changedOnly) return;
        // Written again, the radio ends as the full write leaves it.
        rig.radio.setFaults({});
        QVERIFY(rig.com.Write_Labels(0));
        const sim::LabelMemory written = sim::labelMemoryFrom(rig.state.LabelImage);
        QVERIFY(std::equal(written.begin(), written.begin() + 128, rig.radio.labels().begin()));
    }
};

TAV_TEST_GUILESS(TestLabelTransfer);
#include "tst_labeltransfer.moc"
