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
// Changed-only, every such word is read and only those that differ are sent.
void expectPage(Bytes& wire, const sim::EEPromImage& radio, const AppState& s, int page,
                bool capable, bool changedOnly = false) {
    for (int off = 0; off < kPageSize; off += 2) {
        const int a = page * kPageSize + off;
        const uint8_t m0 = page == 0 ? globalMask(off, capable) : groupMask(off);
        const uint8_t m1 = page == 0 ? globalMask(off + 1, capable) : groupMask(off + 1);
        if (m0 == 0 && m1 == 0) continue;
        const uint8_t hi = merge(radio[a], s.EEImage[a], m0);
        const uint8_t lo = merge(radio[a + 1], s.EEImage[a + 1], m1);
        if (changedOnly || m0 != 0xFF || m1 != 0xFF) append(wire, readCmd(a));
        if (!changedOnly || hi != radio[a] || lo != radio[a + 1]) append(wire, writeCmd(a, hi, lo));
    }
}

// The power block lookup of the factory image: entry 0 ("UNIT" at 1920) is
// read and passed over, entry 1 ("VPWR" at 1952) matches and is read again,
// then b at 1952 and p at 1962; the words follow at 1970.
Bytes expectPowerWrites(const AppState& s, int first, int last,
                        const sim::EEPromImage* changedOn = nullptr) {
    Bytes wire;
    for (int a : {22, 1920, 1923, 1924, 24, 1952, 1955, 1956, 24, 1952, 1962})
        append(wire, readCmd(a));
    for (int g = first; g <= last; ++g) {
        const int a = 1970 + 2 * g;
        if (changedOn) append(wire, readCmd(a));
        if (!changedOn || (*changedOn)[a] != s.PowerMask[g] ||
            (*changedOn)[a + 1] != s.PowerMask[15 + g])
            append(wire, writeCmd(a, s.PowerMask[g], s.PowerMask[15 + g]));
    }
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

// A usual edit: two bytes of each of five channels of group 3, a bit of a
// unit-wide byte whose word is partly protected, and a power byte.
void usualEdit(AppState& s) {
    for (int c = 0; c < 5; ++c) {
        s.EEImage[3 * kPageSize + 16 + 8 * c] ^= 0x01;
        s.EEImage[3 * kPageSize + 21 + 8 * c] ^= 0x10;
    }
    s.EEImage[104] ^= 0x80;
    s.PowerMask[3] ^= 0x01;
}

sim::VirtualRadio wholeWrite(bool edit, bool changedOnly);

// Where a swept write starts: image pattern 6 for a factory radio, or
// (`edit`) a usual edit of it for the radio that holds pattern 6 already.
void sweepStart(RadioRig& rig, bool edit) {
    loadFactoryRadio(rig);
    fillImage(rig.state, 6);
    if (!edit) return;
    static const sim::EEPromImage written = wholeWrite(false, false).eeprom();
    rig.radio.eeprom() = written;
    usualEdit(rig.state);
}

// The radio after a clean whole write from that start.
sim::VirtualRadio wholeWrite(bool edit, bool changedOnly) {
    RadioRig clean;
    sweepStart(clean, edit);
    clean.com.ChangedOnly = changedOnly;
    if (!clean.com.WriteEEMemory(false)) qWarning("the clean write failed");
    return clean.radio;
}

// A radio of random shape (contents, capability, configured pages, power block
// anywhere or none, labels) and an image that differs from it in a random share
// of its bytes, from none to all.
void randomCase(QRandomGenerator& rng, RadioRig& rig) {
    auto& e = rig.radio.eeprom();
    for (auto& b : e) b = static_cast<uint8_t>(rng.bounded(256));
    for (int page = 1; page < kPageCount; ++page) sim::setPageConfigured(e, page, rng.bounded(4));
    sim::setBandwidthCapable(e, rng.bounded(2));
    if (rng.bounded(3))
        sim::placePowerBlock(e, rng.bounded(7), 1920 + 8 * rng.bounded(8),
                             static_cast<uint8_t>(rng.bounded(256)));
    for (auto& b : rig.radio.labels()) b = static_cast<uint8_t>(rng.bounded(256));

    const int changePct = QList<int>{0, 1, 5, 30, 100}[rng.bounded(5)];
    const auto change = [&](uint8_t b) {
        return rng.bounded(100) < changePct ? static_cast<uint8_t>(rng.bounded(256)) : b;
    };
    AppState& s = rig.state;
    for (int a = 0; a < kEEPromSize; ++a) s.EEImage[a] = change(e[a]);
    const int words = sim::powerWordsAddress(e).value_or(0);
    for (int g = 0; g < kGroupCount; ++g) {
        s.PowerMask[g] = change(e[(words + 2 * g) % kEEPromSize]);
        s.PowerMask[15 + g] = change(e[(words + 2 * g + 1) % kEEPromSize]);
    }
    sim::labelImageFrom(rig.radio.labels(), s.LabelImage);
    for (auto& b : s.LabelImage) b = change(b);
    s.PerChanBandOn = rng.bounded(2);
    s.PerChanPwrOn = rng.bounded(2);
}

// Block write `op` (0 whole, 1 whole but the global block, 2 global, 3 group),
// then the labels of one bank or all.
bool writeBlockAndLabels(RadioRig& rig, int op, int16_t group, int16_t labelGroup) {
    bool ok = op == 0   ? rig.com.WriteEEMemory(false)
              : op == 1 ? rig.com.WriteEEMemory(true)
              : op == 2 ? rig.com.WriteEEGlobal()
                        : rig.com.WriteEEGroup(group);
    return rig.com.Write_Labels(labelGroup) && ok;
}

// Label characters of the banks written that the radio held otherwise.
int labelDifferences(const sim::LabelMemory& radio, const AppState& s, int labelGroup) {
    int n = 0;
    for (int bank = 1; bank <= kGroupCount; ++bank)
        for (int slot = 1; slot <= 16 && (labelGroup < 0 || labelGroup == bank - 1); ++slot)
            for (int k = 0; k < 8; ++k)
                n +=
                    radio[sim::labelMemoryAddress(bank, slot, k)] != s.label(bank - 1, slot - 1, k);
    return n;
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

    void groupWriteOrder_data() {
        QTest::addColumn<bool>("changedOnly");
        QTest::newRow("every word") << false;
        QTest::newRow("changed only") << true;
    }

    void groupWriteOrder() {
        QFETCH(bool, changedOnly);
        RadioRig rig;
        loadFactoryRadio(rig);
        fillImage(rig.state, 3);
        rig.state.PerChanBandOn = true;
        rig.com.ChangedOnly = changedOnly;
        if (changedOnly) {
            // The radio holds the image but for a channel byte, two writable bits
            // of the partly protected byte 8 and the bandwidth word of group index 5.
            for (int a = 768; a < 896; ++a) rig.radio.eeprom()[a] = rig.state.EEImage[a];
            rig.radio.eeprom()[768 + 8] ^= 0x81;
            rig.radio.eeprom()[768 + 9] ^= 0xFF;  // protected: never counts as a difference
            rig.radio.eeprom()[768 + 40] ^= 0x20;
            for (int g = 0; g < kGroupCount; ++g) {
                rig.radio.eeprom()[1970 + 2 * g] = rig.state.PowerMask[g];
                rig.radio.eeprom()[1971 + 2 * g] = rig.state.PowerMask[15 + g];
            }
        }
        const sim::EEPromImage before = rig.radio.eeprom();

        QVERIFY(rig.com.WriteEEGroup(6));

        Bytes wire = expectWriteStart();
        append(wire, readCmd(16));  // the configuration word of groups 4 to 7
        expectPage(wire, before, rig.state, 6, true, changedOnly);
        append(wire, expectPowerWrites(rig.state, 5, 5, changedOnly ? &before : nullptr));
        append(wire, readCmd(6));  // the bandwidth capability, then group index 5's word
        if (changedOnly) append(wire, readCmd(46));
        append(wire, writeCmd(46, rig.state.EEImage[46], rig.state.EEImage[47]));
        wire.push_back(0x01);
        QCOMPARE(hex(rig.radio.received()), hex(wire));
        QCOMPARE(rig.clock.beeps(), 1);
        // Looked at: the page's 61 open words, the power word and the bandwidth word.
        const int written = changedOnly ? 3 : 63;
        QCOMPARE(rig.com.tally().wordsWritten, written);
        QCOMPARE(rig.com.tally().wordsConsidered, 63);
        QCOMPARE(int(rig.radio.eepromWrites().size()), written);
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
        const sim::VirtualRadio full = wholeWrite(false, false), changed = wholeWrite(true, true);
        QCOMPARE(full.replyCount(), 67);
        QCOMPARE(full.echoCount(), 1776);
        QCOMPARE(changed.replyCount(), 1809);
        QCOMPARE(changed.echoCount(), 24);
    }

    void faultSweep_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("changedOnly");
        // Every reply after the identification byte: configuration, capability,
        // merge reads, the power block lookup.
        for (int n = 2; n <= 67; ++n)
            QTest::addRow("drop-reply=%d", n) << QStringLiteral("drop-reply=%1").arg(n) << false;
        // Echoes across page 0, the group pages and the power words (1776 in all).
        for (int n :
             {1, 2, 7, 38, 39, 40, 200, 601, 999, 1400, 1745, 1746, 1747, 1760, 1775, 1776}) {
            QTest::addRow("drop-echo=%d", n) << QStringLiteral("drop-echo=%1").arg(n) << false;
            QTest::addRow("corrupt-echo=%d", n)
                << QStringLiteral("corrupt-echo=%1").arg(n) << false;
        }
        // Changed-only: replies of the preamble, then across the word reads to
        // the power block's, and every echo of the few words written.
        QList<int> replies;
        for (int n = 2; n <= 1809; n += n < 24 || n > 1785 ? 1 : 59) replies << n;
        for (int n : replies)
            QTest::addRow("changed drop-reply=%d", n)
                << QStringLiteral("drop-reply=%1").arg(n) << true;
        for (int n = 1; n <= 24; ++n) {
            QTest::addRow("changed drop-echo=%d", n)
                << QStringLiteral("drop-echo=%1").arg(n) << true;
            QTest::addRow("changed corrupt-echo=%d", n)
                << QStringLiteral("corrupt-echo=%1").arg(n) << true;
        }
    }

    void faultSweep() {
        QFETCH(QString, fault);
        QFETCH(bool, changedOnly);
        // Either mode ends as the described write of the same image leaves the radio.
        static const sim::VirtualRadio clean[2] = {wholeWrite(false, false),
                                                   wholeWrite(true, false)};
        for (const bool retry : {true, false}) {
            RadioRig rig;
            sweepStart(rig, changedOnly);
            rig.com.ChangedOnly = changedOnly;
            rig.radio.setFaults(faults(fault));
            if (retry) rig.prompter.answers = {MsgResult::Retry};
            // Answered Cancel, the fault ends the write as a failure.
            QCOMPARE(rig.com.WriteEEMemory(false), retry);
            QCOMPARE(rig.prompter.shown.size(), 1);
            QCOMPARE(
                boxLine(rig.prompter.shown[0]),
                boxLine(kWriteFailed, "COMM ERROR", MsgButtons::RetryCancel, MsgIcon::Information));
            if (!retry) continue;
            QVERIFY(rig.radio.eeprom() == clean[changedOnly].eeprom());
            QCOMPARE(rig.clock.beeps(), 1);
            // Retry repeats the whole exchange, from the releases on, as a clean
            // write goes; a changed-only retry finds some words written already.
            if (changedOnly) continue;
            const Bytes& all = rig.radio.received();
            const long n = static_cast<long>(clean[0].received().size());
            QCOMPARE(hex(Bytes(all.end() - n, all.end())), hex(clean[0].received()));
        }
    }

    void changedOnlyEndsAsFullWrite() {
        QRandomGenerator rng(20240715);
        for (int round = 0; round < 300; ++round) {
            RadioRig full, changed;
            randomCase(rng, full);
            changed.radio.eeprom() = full.radio.eeprom();
            changed.radio.labels() = full.radio.labels();
            changed.state = full.state;
            changed.com.ChangedOnly = true;
            const sim::EEPromImage before = full.radio.eeprom();
            const int op = rng.bounded(4);
            const auto group = static_cast<int16_t>(rng.bounded(1, 16));
            const auto labelGroup = static_cast<int16_t>(rng.bounded(-1, 15));
            const QByteArray what = QByteArray::number(round);

            const bool ok = writeBlockAndLabels(full, op, group, labelGroup);
            const int labelChanges =
                labelDifferences(changed.radio.labels(), changed.state, labelGroup);
            QCOMPARE(writeBlockAndLabels(changed, op, group, labelGroup), ok);
            QVERIFY2(changed.radio.eeprom() == full.radio.eeprom(), what);
            QVERIFY2(changed.radio.labels() == full.radio.labels(), what);
            QCOMPARE(changed.prompter.texts(), full.prompter.texts());
            // Every word the full write sends was looked at; only those that differed were sent.
            const WriteTally& t = changed.com.tally();
            QCOMPARE(t.wordsConsidered, full.com.tally().wordsConsidered);
            QCOMPARE(full.com.tally().wordsWritten, full.com.tally().wordsConsidered);
            QCOMPARE(t.wordsWritten, int(changed.radio.eepromWrites().size()));
            sim::EEPromImage held = before;
            for (const sim::EEWrite& w : changed.radio.eepromWrites()) {
                QVERIFY2(held[w.address] != w.hi || held[w.address + 1] != w.lo, what);
                held[w.address] = w.hi;
                held[w.address + 1] = w.lo;
            }
            QCOMPARE(t.labelCharsConsidered, full.com.tally().labelCharsConsidered);
            QCOMPARE(t.labelCharsWritten, labelChanges);
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
