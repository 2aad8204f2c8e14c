// Whole, global and group transfers: the exact order on the wire, what the
// image and the radio end up holding, failures, Cancel and Retry.

#include <QRandomGenerator>
#include <tuple>

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

// A page as a block write sends it: nothing for a closed word, a read first where
// a mask is partial; changed-only, a read of each open word and only changes sent.
void expectPage(Bytes& wire, const sim::EEPromImage& radio, const AppState& s, int page,
                bool changedOnly = false) {
    for (int off = 0; off < kPageSize; off += 2) {
        const int a = page * kPageSize + off;
        const uint8_t m0 = page == 0 ? globalMask(off, true) : groupMask(off);
        const uint8_t m1 = page == 0 ? globalMask(off + 1, true) : groupMask(off + 1);
        if (m0 == 0 && m1 == 0) continue;
        const uint8_t hi = merge(radio[a], s.EEImage[a], m0);
        const uint8_t lo = merge(radio[a + 1], s.EEImage[a + 1], m1);
        if (changedOnly || m0 != 0xFF || m1 != 0xFF) append(wire, readCmd(a));
        if (!changedOnly || hi != radio[a] || lo != radio[a + 1]) append(wire, writeCmd(a, hi, lo));
    }
}

// The power block lookup of the factory image ("UNIT" at 1920 passed over,
// "VPWR" at 1952 matched and its entry read again, b, p), then the words at 1970.
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

// Two bytes of five channels of group 3, a bit of a partly protected word, a power byte.
void usualEdit(AppState& s) {
    for (int c = 0; c < 5; ++c) {
        s.EEImage[3 * kPageSize + 16 + 8 * c] ^= 0x01;
        s.EEImage[3 * kPageSize + 21 + 8 * c] ^= 0x10;
    }
    s.EEImage[104] ^= 0x80;
    s.PowerMask[3] ^= 0x01;
}

sim::VirtualRadio wholeWrite(bool edit, bool changedOnly);

// Image pattern 6 for a factory radio, or a usual edit of it for the radio
// that holds pattern 6 already.
void sweepStart(RadioRig& rig, bool edit) {
    loadFactoryRadio(rig);
    fillImage(rig.state, 6);
    if (!edit) return;
    static const sim::EEPromImage written = wholeWrite(false, false).eeprom();
    rig.radio.eeprom() = written;
    usualEdit(rig.state);
}

sim::VirtualRadio wholeWrite(bool edit, bool changedOnly) {
    RadioRig clean;
    sweepStart(clean, edit);
    clean.com.ChangedOnly = changedOnly;
    if (!clean.com.WriteEEMemory(false)) qWarning("the clean write failed");
    return clean.radio;
}

// A radio of random shape (contents, capability, configured pages, power block
// anywhere or none, labels) and an image differing in none to all of its bytes.
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

// Block write `op` (whole, whole but the global block, global, group), then labels.
bool writeBlockAndLabels(RadioRig& rig, int op, int16_t group, int16_t labelGroup) {
    const bool ok = op < 2    ? rig.com.WriteEEMemory(op == 1)
                    : op == 2 ? rig.com.WriteEEGlobal()
                              : rig.com.WriteEEGroup(group);
    return rig.com.Write_Labels(labelGroup) && ok;
}

// 0 whole, 1 global, 2 group 5.
bool readBlock(RadioRig& rig, int op) {
    return op == 0   ? rig.com.ReadEEMemory()
           : op == 1 ? rig.com.ReadEEGlobal()
                     : rig.com.ReadEEGroup(5);
}
// Replies of each read: the identification byte and the block words; then all with the
// side data (a group read's capability and bandwidth word, the power lookup and words).
constexpr std::array<int, 3> kBlockReplies{1 + 2048, 1 + 128, 1 + 128};
constexpr std::array<int, 3> kAllReplies{2049 + 22 + 30, 129 + 18, 129 + 4 + 22 + 2};

// 0 whole, 1 global, 2 group 5; the reply lost (0 none); the bar value that cancels.
using ReadCase = std::tuple<int, int, int>;
// whole or group 3, changed only; words looked at, words written.
using WriteCase = std::tuple<bool, bool, int, int>;

}  // namespace

class TestBlockTransfer : public QObject {
    Q_OBJECT

private slots:
    // Releases, hook, configuration words, capability, the pages the radio
    // allows, the power words, a group's bandwidth word, the release; the
    // words looked at and those written are counted.
    void writeOrder_data() {
        QTest::addColumn<WriteCase>("c");
        // Open words: page 0's 19, 61 a group page, the power words, the bandwidth word.
        const int all = 19 + 14 * 61 + 15;
        QTest::newRow("whole") << WriteCase{true, false, all, all};
        QTest::newRow("whole, changed only") << WriteCase{true, true, all, 12};
        QTest::newRow("group 3") << WriteCase{false, false, 63, 63};
        QTest::newRow("group 3, changed only") << WriteCase{false, true, 63, 10};
    }
    void writeOrder() {
        QFETCH(WriteCase, c);
        const auto& [whole, changedOnly, considered, written] = c;
        RadioRig rig;
        sweepStart(rig, changedOnly);
        rig.state.PerChanBandOn = true;
        std::fill_n(rig.state.GlobalWriteMask.begin() + 36, 30, 0);  // to be opened by the write
        rig.com.ChangedOnly = changedOnly;
        const sim::EEPromImage before = rig.radio.eeprom();
        QVERIFY(whole ? rig.com.WriteEEMemory(false) : rig.com.WriteEEGroup(3));
        Bytes wire = concat(bytes({0x01, 0x01}), wakeAndHookRequest());
        for (int a : whole ? std::vector{14, 16, 18, 20, 6} : std::vector{14})
            append(wire, readCmd(a));
        for (int page = whole ? 0 : 3; page <= (whole ? 15 : 3); ++page)
            if (page == 0 || sim::pageConfigured(before, page))
                expectPage(wire, before, rig.state, page, changedOnly);
        append(wire, expectPowerWrites(rig.state, whole ? 0 : 2, whole ? 14 : 2,
                                       changedOnly ? &before : nullptr));
        if (whole) append(wire, readCmd(1920));  // page 15, skipped, read back: differs at once
        if (!whole)
            append(wire, concat(readCmd(6), changedOnly ? readCmd(40)
                                                        : writeCmd(40, rig.state.EEImage[40],
                                                                   rig.state.EEImage[41])));
        wire.push_back(0x01);
        QCOMPARE(hex(rig.radio.received()), hex(wire));
        QCOMPARE(rig.com.tally().wordsConsidered, considered);
        QCOMPARE(rig.com.tally().wordsWritten, written);
        QCOMPARE(rig.com.tally().unwrittenGroups, whole ? std::vector{15} : std::vector<int>{});
        QCOMPARE(int(rig.radio.eepromWrites().size()), written);
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.clock.beeps(), 1);
        QVERIFY(!rig.progress.visible);
    }

    // A whole write skips the pages the radio is not configured for (2 and 15
    // here) and reads them back: a page is named when a bit a write would set
    // differs from the image, or when it cannot be read back; the power words
    // the write put in page 15 are not the page's. The radio keeps both pages.
    void unwrittenGroups_data() {
        QTest::addColumn<QList<int>>("edits");  // image bytes changed: bit 0x40
        QTest::addColumn<bool>("lastReplyLost");
        QTest::addColumn<QList<int>>("named");
        QTest::newRow("held as the image has them") << QList<int>{} << false << QList<int>{};
        QTest::newRow("only bits no write sets") << QList{265, 264, 1928} << false << QList<int>{};
        QTest::newRow("group 2's first, group 15's last")
            << QList{256, 2047} << false << QList{2, 15};
        QTest::newRow("group 15's last reply lost") << QList<int>{} << true << QList{15};
    }
    void unwrittenGroups() {
        QFETCH(QList<int>, edits);
        QFETCH(bool, lastReplyLost);
        RadioRig rigs[2];  // a clean write counts the replies for the faulty one
        for (RadioRig& rig : rigs) {
            loadFactoryRadio(rig);
            sim::setPageConfigured(rig.radio.eeprom(), 2, false);
            const auto& e = rig.radio.eeprom();
            std::copy(e.begin(), e.end(), rig.state.EEImage.begin());
            for (int i = 0; i < kPowerMaskSize; ++i) rig.state.PowerMask[i] = uint8_t(0x5A + i);
            for (int a : edits) rig.state.EEImage[a] ^= 0x40;
        }
        QVERIFY(rigs[0].com.WriteEEMemory(false));
        RadioRig& rig = rigs[1];
        if (lastReplyLost)
            rig.radio.setFaults(faults(QString("drop-reply=%1").arg(rigs[0].radio.replyCount())));
        const sim::EEPromImage before = rig.radio.eeprom();
        QVERIFY(rig.com.WriteEEMemory(false));
        const std::vector<int>& named = rig.com.tally().unwrittenGroups;
        QTEST(QList<int>(named.begin(), named.end()), "named");
        QVERIFY(rig.prompter.shown.isEmpty());
        for (int a = 0; a < kEEPromSize; ++a)
            if ((a / kPageSize == 2 || a / kPageSize == 15) && (a < 1970 || a >= 2000))
                QCOMPARE(rig.radio.eeprom()[a], before[a]);
        QCOMPARE(rig.radio.eeprom()[1970 + 2 * 14], rig.state.PowerMask[14]);
    }

    // A read leaves in the image what it read, but for the bandwidth bytes a global
    // read keeps, plus a group's bandwidth word; after a failure or Cancel only the
    // words read before it (a group read none), with a message unless cancelled. A
    // reply lost after the block (a group's capability byte and bandwidth word, the
    // directory, the power block and its words) fails the read as well, without a
    // warning, and no power flag nor the block's presence is taken from it.
    void reads_data() {
        QTest::addColumn<ReadCase>("c");
        for (int op = 0; op < 3; ++op) {
            const char* name = std::array{"memory", "global", "group 5"}[op];
            QTest::addRow("%s", name) << ReadCase{op, 0, -1};
            // The tenth word's second byte is lost, or Cancel comes once four words are in.
            QTest::addRow("%s, failed", name) << ReadCase{op, 20, -1};
            QTest::addRow("%s, cancelled", name) << ReadCase{op, 0, op == 2 ? 5 * 128 + 8 : 8};
            for (int n = kBlockReplies[op] + 1; n <= kAllReplies[op]; ++n)
                QTest::addRow("%s, reply %d lost", name, n) << ReadCase{op, n, -1};
        }
    }
    void reads() {
        QFETCH(ReadCase, c);
        const auto& [op, lost, cancelAt] = c;
        RadioRig rig;
        loadFactoryRadio(rig);
        auto& e = rig.radio.eeprom();
        for (int a = 36; a < kEEPromSize; ++a)
            if (a < 1920 || a >= 1970) e[a] = uint8_t(a * 13 + 5);  // but the named blocks
        if (lost) rig.radio.setFaults(faults(QStringLiteral("drop-reply=%1").arg(lost)));
        rig.progress.cancelAtValue = cancelAt;
        rig.state.PerChanBandOn = rig.state.PerChanPwrOn = true;
        rig.state.EEImage.fill(0x11);
        const bool failed = lost || cancelAt >= 0;
        rig.state.PowerBlockPresent = failed;  // a clean read finds the block, a failed one keeps
        QCOMPARE(readBlock(rig, op), !failed);
        if (!failed) QCOMPARE(rig.radio.replyCount(), kAllReplies[op]);  // where the rows end
        const int from = op == 2 ? 640 : 0;
        int to = op == 0 ? kEEPromSize : from + kPageSize;
        if (failed && lost <= kBlockReplies[op]) to = op == 2 ? 0 : cancelAt >= 0 ? 8 : 18;
        for (int a = 0; a <= kEEPromSize; ++a) {
            const bool read =
                (a >= from && a < to && !(op == 1 && a >= 36 && a <= 65)) ||
                (op == 2 && (!failed || lost > kBlockReplies[2] + 4) && (a == 44 || a == 45));
            QCOMPARE(rig.state.EEImage[a], read ? e[a] : uint8_t{0x11});
        }
        for (int g = 0; g < kGroupCount; ++g) {
            const bool read = !failed && (op == 0 || (op == 2 && g == 4));
            QCOMPARE(rig.state.PowerMask[g], uint8_t(read ? e[1970 + 2 * g] : 0));
            QCOMPARE(rig.state.PowerMask[15 + g], uint8_t(read ? e[1971 + 2 * g] : 0));
        }
        QCOMPARE(rig.state.PowerBlockPresent, uint8_t{1});
        QStringList boxes;
        for (const ShownBox& b : rig.prompter.shown) boxes << boxLine(b);
        QCOMPARE(boxes.join(""), !lost ? ""
                                       : boxLine("Error reading radio", "COMM ERROR",
                                                 MsgButtons::Ok, MsgIcon::Information));
        QCOMPARE(rig.clock.beeps(), 1);
        QVERIFY(!rig.progress.visible);
        QCOMPARE(rig.radio.state(), sim::VirtualRadio::State::Idle);
    }

    // Cancel during the bandwidth bytes of a write that skips the global block
    // ends it there: the group pages are not begun.
    void cancelDuringBandwidthBytes() {
        RadioRig rig;
        loadFactoryRadio(rig);
        fillImage(rig.state, 5);
        rig.progress.cancelAtValue = 40;
        QVERIFY(!rig.com.WriteEEMemory(true));
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(writesBetween(rig.radio, 0, kEEPromSize), 3);
        QVERIFY(!rig.progress.log.contains("min=128"));
        QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
    }

    void faultSweep_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("changedOnly");
        const auto row = [](const char* kind, int n, bool changedOnly) {
            QTest::addRow("%s%s=%d", changedOnly ? "changed " : "", kind, n)
                << QStringLiteral("%1=%2").arg(kind).arg(n) << changedOnly;
        };
        // Every reply after the identification byte, echoes across the pages and power
        // words; changed-only, the preamble's replies, then across the reads, every echo.
        for (int n = 2; n <= 67; ++n) row("drop-reply", n, false);
        for (int n = 2; n <= 1809; n += n < 24 || n > 1785 ? 1 : 59) row("drop-reply", n, true);
        const QList echoes{1,   2,    7,    38,   39,   40,   200,  601,
                           999, 1400, 1745, 1746, 1747, 1760, 1775, 1776};
        for (const char* kind : {"drop-echo", "corrupt-echo"}) {
            for (int n : echoes) row(kind, n, false);
            for (int n = 1; n <= 24; ++n) row(kind, n, true);
        }
    }
    void faultSweep() {
        QFETCH(QString, fault);
        QFETCH(bool, changedOnly);
        // Either mode ends as the described write of the same image leaves the radio.
        static const sim::VirtualRadio clean[2] = {wholeWrite(false, false),
                                                   wholeWrite(true, true)};
        // The rows name positions up to these counts of the clean writes; the
        // last two replies, a word of skipped page 15 read back, only decide
        // whether group 15 is named (unwrittenGroups).
        QCOMPARE((QList{clean[0].replyCount(), clean[0].echoCount(), clean[1].replyCount(),
                        clean[1].echoCount()}),
                 (QList{69, 1776, 1811, 24}));
        for (const bool retry : {true, false}) {
            RadioRig rig;
            sweepStart(rig, changedOnly);
            rig.com.ChangedOnly = changedOnly;
            rig.radio.setFaults(faults(fault));
            if (retry) rig.prompter.answers = {MsgResult::Retry};
            // Answered Cancel, the fault ends the write as a failure.
            QCOMPARE(rig.com.WriteEEMemory(false), retry);
            QCOMPARE(rig.prompter.texts(), QStringList{kWriteFailed});
            if (!retry) continue;
            QVERIFY(rig.radio.eeprom() == clean[changedOnly].eeprom());
            QCOMPARE(rig.clock.beeps(), 1);
            // Retry repeats the whole exchange, from the releases on, as a clean
            // write goes; a changed-only retry finds some words written already.
            if (changedOnly) continue;
            QVERIFY(hex(rig.radio.received()).endsWith(hex(clean[0].received())));
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
            const sim::LabelMemory labelsBefore = full.radio.labels();
            const int op = rng.bounded(4);
            const auto group = static_cast<int16_t>(rng.bounded(1, 16));
            const auto labelGroup = static_cast<int16_t>(rng.bounded(-1, 15));
            const QByteArray what = QByteArray::number(round);

            const bool ok = writeBlockAndLabels(full, op, group, labelGroup);
            QCOMPARE(writeBlockAndLabels(changed, op, group, labelGroup), ok);
            QVERIFY2(changed.radio.eeprom() == full.radio.eeprom(), what);
            QVERIFY2(changed.radio.labels() == full.radio.labels(), what);
            QCOMPARE(changed.prompter.texts(), full.prompter.texts());
            // Every word the full write sends was looked at; only those that differed sent.
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
            int labelChanges = 0;  // a character is written only where the radio held another
            for (std::size_t i = 0; i < labelsBefore.size(); ++i)
                labelChanges += labelsBefore[i] != changed.radio.labels()[i];
            QCOMPARE(t.labelCharsWritten, labelChanges);
        }
    }

    // Over random radios, images and masks, both write modes, whole or skipping the global
    // block: the bits a mask opens in the pages allowed take the image's value, no other.
    void maskedBitsNeverChange() {
        QRandomGenerator rng(20240611);
        for (int round = 0; round < 16; ++round) {
            RadioRig rig;
            auto& radio = rig.radio.eeprom();
            for (auto& b : radio) b = static_cast<uint8_t>(rng.bounded(256));
            for (auto& b : rig.state.EEImage) b = static_cast<uint8_t>(rng.bounded(256));
            for (auto& b : rig.state.GlobalWriteMask) b = static_cast<uint8_t>(rng.bounded(256));
            for (auto& b : rig.state.GroupWriteMask) b = static_cast<uint8_t>(rng.bounded(256));
            for (int i = 0; i < 16; ++i) {  // some all-open and all-closed words too
                const int o = int(rng.bounded(64)) * 2;
                rig.state.GroupWriteMask[o] = rig.state.GroupWriteMask[o + 1] =
                    rng.bounded(2) ? 0xFF : 0;
            }
            const sim::EEPromImage before = radio;
            const auto masks = rig.state;
            const bool skipGlobal = round % 2 == 1;
            rig.com.ChangedOnly = round % 4 >= 2;
            QVERIFY(rig.com.WriteEEMemory(skipGlobal));
            for (int a = 0; a < kEEPromSize; ++a) {
                const int page = a / kPageSize, off = a % kPageSize;
                const bool bandwidth = page == 0 && off >= 36 && off <= 65;
                uint8_t mask = page > 0 ? masks.GroupWriteMask[off] : masks.GlobalWriteMask[off];
                if (page == 0 ? skipGlobal : !sim::pageConfigured(before, page)) mask = 0;
                if (bandwidth) mask = sim::bandwidthCapable(before) ? 0xFF : 0;
                QCOMPARE(radio[a], merge(before[a], rig.state.EEImage[a], mask));
            }
        }
    }
};

TAV_TEST_GUILESS(TestBlockTransfer);
#include "tst_blocktransfer.moc"
