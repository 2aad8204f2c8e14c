// Label transfer through the program loaded into the radio's RAM, and the label
// character code.

#include <QRandomGenerator>

#include "TestMain.h"
#include "XferSupport.h"
#include "model/LabelCode.h"

using namespace tav;
using namespace tav::test;

namespace {

void expectReleasedAt4800(RadioRig& rig) {
    QCOMPARE(rig.radio.state(), sim::VirtualRadio::State::Idle);
    QCOMPARE(rig.radio.baud(), 4800);
    QCOMPARE(rig.link.baudRate(), 4800);
    QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
    QVERIFY(!rig.link.isOpen());
}

Bytes control(int x, int y) {
    return bytes({0x03, 0x00, 0x60, x, y});
}
Bytes readAt(int a) {
    return bytes({0x02, 0x01, 0x28 | a >> 8, a & 0xFF});
}
// The label commands of banks first..last, each character asked for at its
// label memory address or sent there (unless `held` there already), and the
// control writes around a read.
Bytes labelWalk(bool write, int first, int last, const AppState& s,
                const sim::LabelMemory* held = nullptr) {
    Bytes wire = write ? Bytes{}
                       : concat(concat(control(0xF6, 0), control(0xFE, 0x44)), control(0xFF, 0x10));
    for (int b = first; b <= last; ++b)
        for (int c = 1; c <= 16; ++c)
            for (int k = 7; k >= 0; --k) {
                const int a = (b - 1) * 128 + (c - 1) * 8 + 7 - k;
                if (held && (*held)[a] == s.label(b - 1, c - 1, k)) continue;
                append(wire, write ? bytes({0x03, 0x01, 0x68 | a >> 8, a & 0xFF,
                                            s.label(b - 1, c - 1, k)})
                                   : readAt(a));
            }
    return write ? wire : concat(concat(wire, control(0xF6, 0x80)), control(0xFE, 0x45));
}

// 0 read, 1 write, 2 changed-only write; the group index (-1 all); the messages.
using Walk = std::tuple<int, int, QStringList>;
// fault; 0 read, 1 write, 2 changed-only write; messages; the radio ends idle at 4800.
using Failure = std::tuple<QString, int, QStringList, bool>;

}  // namespace

class TestLabelTransfer : public QObject {
    Q_OBJECT

private slots:
    // The whole exchange, byte for byte; the labels of the banks asked for
    // move, nothing else changes; a bank that does not exist moves nothing. A
    // changed-only write reads the bank as a read does, then sends what differs.
    void walks_data() {
        QTest::addColumn<Walk>("c");
        for (int op : {0, 1})
            for (int group : {-1, 2})
                QTest::addRow("%s %d", op ? "write" : "read", group) << Walk{op, group, {}};
        QTest::newRow("changed-only write 2") << Walk{2, 2, {}};
        const QStringList invalid{"Requested bank is invalid", "Unable to upload data to radio"};
        QTest::newRow("write 15") << Walk{1, 15, invalid};
    }
    void walks() {
        QFETCH(Walk, c);
        const auto& [op, group, texts] = c;
        RadioRig rig;
        QRandomGenerator rng(3);
        for (auto& b : rig.radio.labels()) b = uint8_t(rng.bounded(256));
        for (auto& b : rig.state.LabelImage) b = uint8_t(rng.bounded(256));
        rig.com.ChangedOnly = op == 2;
        if (op == 2) {  // the radio holds the image but for two characters of bank 3, one of bank 5
            sim::labelImageFrom(rig.radio.labels(), rig.state.LabelImage);
            rig.state.label(2, 0, 7) ^= 0x11;
            rig.state.label(2, 15, 0) ^= 0x22;
            rig.state.label(4, 3, 3) ^= 0x33;
        }
        const auto image = rig.state.LabelImage;
        const auto radio = rig.radio.labels();
        QCOMPARE(op ? rig.com.Write_Labels(group) : rig.com.Read_Labels(group), texts.isEmpty());
        const int first = group < 0 ? 1 : group + 1;
        const int last = !texts.isEmpty() ? 0 : group < 0 ? 15 : first;
        Bytes walk = labelWalk(op, first, last, rig.state, op == 2 ? &radio : nullptr);
        if (op == 2) walk = concat(labelWalk(false, first, last, rig.state), walk);
        QCOMPARE(hex(rig.radio.received()),
                 hex(concat(concat(labelTransferStart(), walk), kLabelTransferEnd)));
        for (int g = 0; g < 16 && op == 0; ++g)  // label memory address a + j holds character 7 - j
            for (int a = g * 128; a < g * 128 + 128; ++a) {
                const int i = AppState::labelIndex(g, a % 128 / 8, 7 - a % 8);
                QCOMPARE(rig.state.LabelImage[i],
                         g + 1 >= first && g + 1 <= last ? radio[a] : image[i]);
            }
        QCOMPARE(rig.prompter.texts(), texts);
        const int labels = std::max(0, last - first + 1) * 16;
        QCOMPARE(rig.progress.value, labels);
        if (labels) QCOMPARE(rig.progress.maximum, labels);
        QVERIFY(!rig.progress.visible);
        QCOMPARE(rig.clock.beeps(), texts.isEmpty() ? 1 : 0);
        QCOMPARE(rig.com.tally().labelCharsWritten, op == 2 ? 2 : op ? labels * 8 : 0);
        QCOMPARE(rig.progress.log.first() + rig.progress.log.last(),
                 QStringLiteral("ShowForm:Please Wait - %1 LabelsHideForm")
                     .arg(op ? "Writing" : "Reading"));
        expectReleasedAt4800(rig);
    }

    // A character whose answer loses its second byte is asked for again at
    // the same address, four times in all; then the read fails.
    void readRetriesTheSameAddress() {
        RadioRig rig;
        rig.radio.setFaults(faults("drop-reply=label:6-12"));
        QVERIFY(!rig.com.Read_Labels(0));
        QCOMPARE(rig.prompter.texts(), QStringList{"Unable to upload data from radio"});
        Bytes wire = concat(labelTransferStart(), concat(control(0xF6, 0), control(0xFE, 0x44)));
        append(wire, concat(concat(control(0xFF, 0x10), readAt(0)), readAt(1)));
        append(wire,
               concat(repeated(readAt(2), 4), concat(control(0xF6, 0x80), control(0xFE, 0x45))));
        QCOMPARE(hex(rig.radio.received()), hex(concat(wire, kLabelTransferEnd)));
    }

    // The messages and how the radio ends; a failed changed-only write, written again,
    // ends as a full write. Cancel stops reads between tries and writes between
    // labels, but a stale one stops nothing.
    void failures_data() {
        QTest::addColumn<Failure>("c");
        QTest::newRow("read cancelled") << Failure{"", 0, {}, true};
        QTest::newRow("write cancelled") << Failure{"", 1, {}, true};
        QTest::newRow("changed: cancelled while reading") << Failure{"", 2, {}, true};
        const QStringList baud{"Unable to set baud rate"}, init{"Transfer initialization error"};
        const QStringList toRadio{"Unable to upload data to radio"};
        // The radio went to 9600 but its answer was lost: the port goes back to
        // 4800 alone, and the radio cannot hear the release.
        QTest::newRow("no answer at 9600") << Failure{"drop-reply=baud:1", 0, baud, false};
        QTest::newRow("loader byte not echoed") << Failure{"drop-echo=ram:4", 1, init, true};
        QTest::newRow("loader byte garbled") << Failure{"corrupt-echo=ram:25", 0, init, true};
        // A garbled download crashes the radio: nothing answers any more.
        const QStringList fromRadio{"Unable to upload data from radio", baud[0]};
        QTest::newRow("download garbled") << Failure{"corrupt-in=loader:40", 0, fromRadio, false};
        QTest::newRow("label byte not echoed") << Failure{"drop-echo=label:9", 1, toRadio, true};
        // Changed-only, bank 1 differs in all its 128 characters.
        QTest::newRow("changed: first unread") << Failure{"drop-reply=label:2-8", 2, toRadio, true};
        QTest::newRow("changed: last unread")
            << Failure{"drop-reply=label:256-262", 2, toRadio, true};
        for (int n : {1, 77, 128})
            for (const char* kind : {"drop", "corrupt"})
                QTest::addRow("changed: echo %d, %s", n, kind) << Failure{
                    QStringLiteral("%1-echo=label:%2").arg(kind).arg(n), 2, toRadio, true};
    }
    void failures() {
        QFETCH(Failure, c);
        const auto& [fault, op, texts, released] = c;
        RadioRig rig;
        rig.radio.setFaults(faults(fault));
        rig.com.ChangedOnly = op == 2;
        rig.progress.cancelled = true;
        rig.progress.cancelAtValue = fault.isEmpty() ? 5 : -1;
        rig.state.LabelImage.fill(0x41);
        QVERIFY(!(op ? rig.com.Write_Labels(0) : rig.com.Read_Labels(0)));
        QCOMPARE(rig.prompter.texts(), texts);
        if (fault.isEmpty()) {  // the read is finished, nothing written; a write wrote 5 labels
            QCOMPARE(rig.progress.value, 5);
            QCOMPARE(rig.radio.labelControls().size(), std::size_t{op == 1 ? 0u : 5u});
            const auto& held = rig.radio.labels();
            const int written = int(std::find(held.begin(), held.end(), 0) - held.begin());
            QCOMPARE(written, op == 1 ? 5 * 8 : 0);
            QVERIFY(std::all_of(held.begin() + written, held.end(), [](uint8_t b) { return !b; }));
        }
        if (released) expectReleasedAt4800(rig);
        QCOMPARE(rig.link.baudRate(), 4800);
        QVERIFY(!rig.link.isOpen());
        if (op != 2) return;
        // Written again, the radio ends as the full write leaves it.
        rig.radio.setFaults({});
        rig.progress.cancelAtValue = -1;
        QVERIFY(rig.com.Write_Labels(0));
        const sim::LabelMemory written = sim::labelMemoryFrom(rig.state.LabelImage);
        QVERIFY(std::equal(written.begin(), written.begin() + 128, rig.radio.labels().begin()));
    }
};

class TestLabelCode : public QObject {
    Q_OBJECT

private slots:
    void encode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("left");
        QTest::newRow("a.B: folded, dot taken") << "a.B" << 0x15 << "B";
        QTest::newRow("only one dot taken") << "A..B" << 0x15 << ".B";
        QTest::newRow("outside the table") << "#x" << 0x60 << "x";
        QTest::newRow("empty") << "" << 0x60 << "";
        QTest::newRow("leading dot is a character") << ".A" << 0x60 << "A";
        QTest::newRow("accented letter") << QString::fromUtf8("é") << 0x60 << "";
        QTest::newRow("dotless i is no I") << QString::fromUtf8("ı") << 0x60 << "";
        QTest::newRow("one emoji is one cell") << QString::fromUtf8("😀.x") << 0x61 << "x";
    }
    void encode() {
        QFETCH(QString, text);
        QFETCH(int, byte);
        QFETCH(QString, left);
        QCOMPARE(int(strLabToByte(text)), byte);
        QCOMPARE(text, left);
    }

    // The display's characters in code order; every one, with and without
    // its dot, comes back as the same byte; bit 7 never matters for reading.
    void decode() {
        for (const auto& [b, text] :
             {std::pair{0x15, "A."}, {0x61, " ."}, {0xFF, ""}, {0xFE, ""}, {0x62, ""}, {0x80, "0"}})
            QCOMPARE(strByteToChar(uint8_t(b)), QString(text));
        QString all;
        for (int code = 0; code <= 48; ++code) all += strByteToChar(uint8_t(code * 2));
        QCOMPARE(all, QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-*$/+%\\|_<>h "));
        for (int b = 0; b < 98; ++b) {
            QString text = strByteToChar(uint8_t(b));
            QCOMPARE(strByteToChar(uint8_t(b | 0x80)), text);
            QCOMPARE(int(strLabToByte(text)), b);
            QVERIFY(text.isEmpty());
        }
    }
};

TAV_TEST_GUILESS(TestLabelTransfer);
TAV_TEST_GUILESS(TestLabelCode);
#include "tst_labeltransfer.moc"
