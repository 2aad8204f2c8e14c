// Whole, global and group transfers against the virtual radio: the exact
// order on the wire, what the image keeps, what the radio ends up holding,
// and how failures and Cancel end.

#include <QRandomGenerator>

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

// The words of one page as a masked block write sends them: nothing for a
// word both of whose masks are clear, a read first where a mask is partial.
void expectPage(Bytes& wire, const sim::EEPromImage& radio, const AppState& s, int page,
                bool capable) {
    for (int off = 0; off < kPageSize; off += 2) {
        const int a = page * kPageSize + off;
        const uint8_t m0 = page == 0 ? globalMask(off, capable) : groupMask(off);
        const uint8_t m1 = page == 0 ? globalMask(off + 1, capable) : groupMask(off + 1);
        if (m0 == 0 && m1 == 0) continue;
        if (m0 != 0xFF || m1 != 0xFF) append(wire, readCmd(a));
        append(wire, writeCmd(a, merge(radio[a], s.EEImage[a], m0),
                              merge(radio[a + 1], s.EEImage[a + 1], m1)));
    }
}

// The power block lookup of the factory image: entry 0 ("UNIT" at 1920) is
// read and passed over, entry 1 ("VPWR" at 1952) matches and is read again,
// then b at 1952 and p at 1962; the words follow at 1970.
Bytes expectPowerWrites(const AppState& s, int first, int last) {
    Bytes wire;
    for (int a : {22, 1920, 1923, 1924, 24, 1952, 1955, 1956, 24, 1952, 1962})
        append(wire, readCmd(a));
    for (int g = first; g <= last; ++g)
        append(wire, writeCmd(1970 + 2 * g, s.PowerMask[g], s.PowerMask[15 + g]));
    return wire;
}

Bytes expectWriteStart() {
    return concat(bytes({0x01, 0x01}), wakeAndHookRequest());
}

// The radio's EEPROM after a whole write of `s` to the factory radio `before`.
sim::EEPromImage expectedAfterWholeWrite(const sim::EEPromImage& before, const AppState& s) {
    sim::EEPromImage after = before;
    for (int a = 0; a < kEEPromSize; ++a) {
        const int page = a / kPageSize, off = a % kPageSize;
        if (page == 0) after[a] = merge(before[a], s.EEImage[a], globalMask(off, true));
        if (page >= 1 && sim::pageConfigured(before, page))
            after[a] = merge(before[a], s.EEImage[a], groupMask(off));
    }
    for (int g = 0; g < kGroupCount; ++g) {
        after[1970 + 2 * g] = s.PowerMask[g];
        after[1971 + 2 * g] = s.PowerMask[15 + g];
    }
    return after;
}

// The factory radio after a clean whole write of image pattern 6.
sim::VirtualRadio cleanWholeWrite() {
    RadioRig clean;
    loadFactoryRadio(clean);
    fillImage(clean.state, 6);
    if (!clean.com.WriteEEMemory(false)) qWarning("the clean write failed");
    return clean.radio;
}

}  // namespace

class TestBlockTransfer : public QObject {
    Q_OBJECT

private slots:
    void wholeWriteGoesOutInOrder() {
        RadioRig rig;
        loadFactoryRadio(rig);
        fillImage(rig.state, 1);
        const sim::EEPromImage before = rig.radio.eeprom();

        QVERIFY(rig.com.WriteEEMemory(false));

        Bytes wire = expectWriteStart();
        for (int a : {14, 16, 18, 20}) append(wire, readCmd(a));
        append(wire, readCmd(6));
        for (int page = 0; page < kPageCount; ++page)
            if (page == 0 || sim::pageConfigured(before, page))
                expectPage(wire, before, rig.state, page, true);
        append(wire, expectPowerWrites(rig.state, 0, 14));
        wire.push_back(0x01);
        QCOMPARE(hex(rig.radio.received()), hex(wire));
        // The pause starts as the releases are sent: the second is still on the line.
        QVERIFY(arrivalOf(rig.radio, 2) - arrivalOf(rig.radio, 0) >= 0.5 - 1e-9);
        QVERIFY(arrivalOf(rig.radio, 2) - arrivalOf(rig.radio, 1) > 0.49);
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.clock.beeps(), 1);
        QVERIFY(!rig.progress.visible);
        QVERIFY(rig.radio.eeprom() == expectedAfterWholeWrite(before, rig.state));
    }

    void groupWriteOrder() {
        RadioRig rig;
        loadFactoryRadio(rig);
        fillImage(rig.state, 3);
        rig.state.PerChanBandOn = true;
        const sim::EEPromImage before = rig.radio.eeprom();

        QVERIFY(rig.com.WriteEEGroup(6));

        Bytes wire = expectWriteStart();
        append(wire, readCmd(16));  // the configuration word of groups 4 to 7
        expectPage(wire, before, rig.state, 6, true);
        append(wire, expectPowerWrites(rig.state, 5, 5));
        append(wire, readCmd(6));  // the bandwidth capability, then group index 5's word
        append(wire, writeCmd(46, rig.state.EEImage[46], rig.state.EEImage[47]));
        wire.push_back(0x01);
        QCOMPARE(hex(rig.radio.received()), hex(wire));
        QCOMPARE(rig.clock.beeps(), 1);
    }

    void groupNotConfigured() {
        RadioRig rig;
        loadFactoryRadio(rig);
        sim::setPageConfigured(rig.radio.eeprom(), 3, false);  // byte 15, bit 3
        QCOMPARE(rig.radio.eeprom()[15] & 0x08, 0);
        fillImage(rig.state, 4);

        QVERIFY(!rig.com.WriteEEGroup(3));
        QCOMPARE(rig.prompter.shown.size(), 1);
        QCOMPARE(boxLine(rig.prompter.shown[0]),
                 boxLine("Group not configured for channel data.", "WRITE GROUP", MsgButtons::Ok,
                         MsgIcon::None));
        QVERIFY(rig.radio.eepromWrites().empty());
        QCOMPARE(hex(rig.radio.received()),
                 hex(concat(concat(expectWriteStart(), readCmd(14)), bytes({0x01}))));
        QCOMPARE(rig.clock.beeps(), 0);
    }

    void readGlobalKeepsBandwidthMasks() {
        RadioRig rig;
        loadFactoryRadio(rig);
        // Everything but the configuration bits and the directory differs from the factory image.
        for (int a = 0; a < kPageSize; ++a)
            if (a < 14 || a > 35) rig.radio.eeprom()[a] ^= static_cast<uint8_t>(a * 7 + 1);
        rig.state.EEImage.fill(0x5A);

        QVERIFY(rig.com.ReadEEGlobal());
        for (int a = 0; a < kPageSize; ++a) {
            const bool kept = a >= 36 && a <= 65;
            QCOMPARE(rig.state.EEImage[a], kept ? uint8_t{0x5A} : rig.radio.eeprom()[a]);
        }
        QCOMPARE(rig.state.EEImage[kPageSize], uint8_t{0x5A});
        QCOMPARE(rig.state.PowerBlockPresent, uint8_t{1});
        QVERIFY(rig.state.PowerMask == decltype(rig.state.PowerMask){});  // presence check only
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void cancelledReadKeepsFirstPart() {
        RadioRig rig;
        loadFactoryRadio(rig);
        for (int a = 0; a < kEEPromSize; ++a)
            rig.radio.eeprom()[a] = static_cast<uint8_t>(a * 13 + 5);
        rig.state.EEImage.fill(0xC3);
        rig.progress.cancelAtValue = 1000;

        QVERIFY(!rig.com.ReadEEMemory());
        for (int a = 0; a < kEEPromSize; ++a)
            QCOMPARE(rig.state.EEImage[a], a < 1000 ? rig.radio.eeprom()[a] : uint8_t{0xC3});
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.clock.beeps(), 1);
        QVERIFY(!rig.progress.visible);
        QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
    }

    void failedReads_data() {
        QTest::addColumn<int>("operation");  // 0 whole, 1 global, 2 group 5
        QTest::addColumn<bool>("cancel");
        for (int op = 0; op < 3; ++op) {
            const char* name[] = {"memory", "global", "group"};
            QTest::addRow("%s failed", name[op]) << op << false;
            QTest::addRow("%s cancelled", name[op]) << op << true;
        }
    }

    void failedReads() {
        QFETCH(int, operation);
        QFETCH(bool, cancel);
        RadioRig rig;
        loadFactoryRadio(rig);
        rig.radio.eeprom()[700] = 0x77;
        if (!cancel) rig.radio.setFaults(faults("drop-reply=20"));  // the ninth or tenth word
        if (cancel) rig.progress.cancelAtValue = operation == 2 ? 5 * 128 + 8 : 8;
        rig.state.EEImage.fill(0x11);
        const auto imageBefore = rig.state.EEImage;

        const bool ok = operation == 0   ? rig.com.ReadEEMemory()
                        : operation == 1 ? rig.com.ReadEEGlobal()
                                         : rig.com.ReadEEGroup(5);
        QVERIFY(!ok);
        if (cancel) {
            QVERIFY(rig.prompter.shown.isEmpty());
        } else {
            QCOMPARE(rig.prompter.shown.size(), 1);
            QCOMPARE(boxLine(rig.prompter.shown[0]), boxLine("Error reading radio", "COMM ERROR",
                                                             MsgButtons::Ok, MsgIcon::Information));
        }
        if (operation == 2)
            QVERIFY(rig.state.EEImage == imageBefore);  // a group read goes whole or not at all
        for (int a = 36; a < 66 && operation == 1; ++a)
            QCOMPARE(rig.state.EEImage[a], uint8_t{0x11});
        QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
        QCOMPARE(rig.radio.state(), sim::VirtualRadio::State::Idle);
    }

    void sweepCoversWholeWrite() {
        // The sweep below names positions up to these counts of a clean write.
        const sim::VirtualRadio radio = cleanWholeWrite();
        QCOMPARE(radio.replyCount(), 67);
        QCOMPARE(radio.echoCount(), 1776);
    }

    void faultSweep_data() {
        QTest::addColumn<QString>("fault");
        // Every reply after the identification byte: configuration, capability,
        // merge reads, the power block lookup.
        for (int n = 2; n <= 67; ++n)
            QTest::addRow("drop-reply=%d", n) << QStringLiteral("drop-reply=%1").arg(n);
        // Echoes across page 0, the group pages and the power words (1776 in all).
        for (int n :
             {1, 2, 7, 38, 39, 40, 200, 601, 999, 1400, 1745, 1746, 1747, 1760, 1775, 1776}) {
            QTest::addRow("drop-echo=%d", n) << QStringLiteral("drop-echo=%1").arg(n);
            QTest::addRow("corrupt-echo=%d", n) << QStringLiteral("corrupt-echo=%1").arg(n);
        }
    }

    void faultSweep() {
        QFETCH(QString, fault);
        static const sim::VirtualRadio clean = cleanWholeWrite();
        for (const bool retry : {true, false}) {
            RadioRig rig;
            loadFactoryRadio(rig);
            fillImage(rig.state, 6);
            rig.radio.setFaults(faults(fault));
            if (retry) rig.prompter.answers = {MsgResult::Retry};
            // Answered Cancel, the fault ends the write as a failure.
            QCOMPARE(rig.com.WriteEEMemory(false), retry);
            QCOMPARE(rig.prompter.shown.size(), 1);
            QCOMPARE(
                boxLine(rig.prompter.shown[0]),
                boxLine(kWriteFailed, "COMM ERROR", MsgButtons::RetryCancel, MsgIcon::Information));
            if (!retry) continue;
            // Retry repeats the whole exchange, from the releases on, as a clean write goes.
            QVERIFY(rig.radio.eeprom() == clean.eeprom());
            const Bytes& all = rig.radio.received();
            const long n = static_cast<long>(clean.received().size());
            QCOMPARE(hex(Bytes(all.end() - n, all.end())), hex(clean.received()));
            QCOMPARE(rig.clock.beeps(), 1);
        }
    }

    void maskedBitsNeverChange() {
        QRandomGenerator rng(20240611);
        for (int round = 0; round < 16; ++round) {
            RadioRig rig;
            auto& radio = rig.radio.eeprom();
            for (auto& b : radio) b = static_cast<uint8_t>(rng.bounded(256));
            for (auto& b : rig.state.EEImage) b = static_cast<uint8_t>(rng.bounded(256));
            const sim::EEPromImage before = radio;
            const bool capable = sim::bandwidthCapable(before);
            const bool skipGlobal = round % 2 == 1;

            QVERIFY(rig.com.WriteEEMemory(skipGlobal));
            for (int a = 0; a < kEEPromSize; ++a) {
                const int page = a / kPageSize, off = a % kPageSize;
                uint8_t mask = 0;
                if (page == 0)
                    mask = skipGlobal && !(off >= 36 && off <= 65) ? 0 : globalMask(off, capable);
                else if (sim::pageConfigured(before, page))
                    mask = groupMask(off);
                QCOMPARE(radio[a], merge(before[a], rig.state.EEImage[a], mask));
            }
            for (const sim::EEWrite& w : rig.radio.eepromWrites())
                QVERIFY(w.address < kPageSize ||
                        sim::pageConfigured(before, w.address / kPageSize));
        }
    }
};

TAV_TEST_GUILESS(TestBlockTransfer);
#include "tst_blocktransfer.moc"
