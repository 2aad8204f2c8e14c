// EEPROM words and blocks on the wire, write masks and page permissions.

#include <QtTest>

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

// Fills the radio's EEPROM with a pattern that differs from address to address.
void fillPattern(sim::VirtualRadio& radio) {
    for (int a = 0; a < kEEPromSize; ++a) radio.eeprom()[a] = uint8_t(a * 7 + 0x35);
}

// address, page writable, a byte write, fault; the wire and the radio's word after.
using WordCase = std::tuple<int, bool, bool, QString, QByteArray, int, int>;

}  // namespace

class TestEEPromAccess : public QObject {
    Q_OBJECT

private slots:
    // The radio holds 5A C3; the editor writes the word 24 81, or the byte 81 to
    // the odd address. When the radio's word cannot be read its protected bits
    // are unknown: the write is abandoned rather than risk changing them.
    void writeWord_data() {
        QTest::addColumn<WordCase>("c");
        const auto row = [](const char* name, const WordCase& c) { QTest::newRow(name) << c; };
        row("offset 0: nothing", {0, false, false, "", "", 0x5A, 0xC3});
        row("offset 12: whole", {12, false, false, "", "e0 0c 24 81", 0x24, 0x81});
        row("offset 6: merged", {6, false, false, "", "e1 06 e0 06 22 81", 0x22, 0x81});
        row("offset 104: bit 7", {104, false, false, "", "e1 68 e0 68 5a c3", 0x5A, 0xC3});
        row("page 2 +8, writable", {0x108, true, false, "", "e3 08 e2 08 54 c3", 0x54, 0xC3});
        row("page 2 +8, not writable", {0x108, false, false, "", "e2 08 24 81", 0x24, 0x81});
        row("page 2 +10", {0x10A, true, false, "", "", 0x5A, 0xC3});
        row("page 15 +0x7E", {0x7FE, true, false, "", "ee fe 24 81", 0x24, 0x81});
        // Reply 1 is the identification byte.
        row("offset 6, first byte lost", {6, false, false, "drop-reply=2", "e1 06", 0x5A, 0xC3});
        row("offset 6, second byte lost", {6, false, false, "drop-reply=3", "e1 06", 0x5A, 0xC3});
        row("page 2 +8, byte lost", {0x108, true, false, "drop-reply=3", "e3 08", 0x5A, 0xC3});
        row("byte", {0x1A0, false, true, "", "e3 a0 e2 a0 5a 81", 0x5A, 0x81});
        row("byte, read fails", {0x1A0, false, true, "drop-reply=3", "e3 a0", 0x5A, 0xC3});
    }
    void writeWord() {
        QFETCH(WordCase, c);
        const auto& [address, pageWritable, byteWrite, fault, wire, ee0, ee1] = c;
        RadioRig rig;
        rig.radio.eeprom()[address] = 0x5A;
        rig.radio.eeprom()[address + 1] = 0xC3;
        rig.com.setPageWritable(address / kPageSize, pageWritable);
        rig.radio.setFaults(faults(fault));
        QVERIFY(rig.hook());
        const auto a = int16_t(address);
        QCOMPARE(byteWrite ? rig.com.WriteEEByte(a + 1, 0x81) : rig.com.WriteEEWord(a, 0x24, 0x81),
                 fault.isEmpty());
        QCOMPARE(hex(rig.radio.received()), wire);
        QCOMPARE(int(rig.radio.eeprom()[address]), ee0);
        QCOMPARE(int(rig.radio.eeprom()[address + 1]), ee1);
    }

    // The bar is set up in this order before the blocking pause; an odd count
    // fetches or sends a whole last word, but the byte after the block is
    // neither stored nor changed.
    void oddCounts() {
        RadioRig rig;
        fillPattern(rig.radio);
        QVERIFY(rig.hook());
        rig.com.setPageWritable(2, true);
        std::array<uint8_t, 4> buf;
        buf.fill(0xEE);
        QVERIFY(rig.com.ReadEEBytes(0x101, buf.data(), 3));
        QCOMPARE(hex(Bytes(buf.begin(), buf.end())),
                 hex(Bytes{rig.radio.eeprom()[0x101], rig.radio.eeprom()[0x102],
                           rig.radio.eeprom()[0x103], 0xEE}));
        QCOMPARE(rig.progress.log, (QStringList{"min=0", "max=30000", "min=257", "max=260", "show",
                                                "EnableCancel", "value=259", "value=261"}));
        QCOMPARE(rig.clock.blockingSleeps(), 1);
        QVERIFY(rig.progress.visible);  // the caller hides it
        const uint8_t after = rig.radio.eeprom()[0x103];
        buf = {1, 2, 3, uint8_t(~after)};
        QVERIFY(rig.com.WriteEEBytes(0x100, buf.data(), 3));
        QCOMPARE(hex(rig.radio.received()),
                 QByteArray("e3 01 e3 03 e2 00 01 02 e3 02 e2 02 03 ") + hex(bytes({after})));
        QCOMPARE(rig.progress.log.mid(8, 7),
                 (QStringList{"min=0", "max=30000", "min=256", "max=259", "value=256", "show",
                              "EnableCancel"}));
    }

    // A block write stops at the first word that fails and, on Cancel, before
    // the word after the one that moved the bar to the Cancel value.
    void writeBlockStops() {
        for (const auto& [fault, cancelAt, words] :
             {std::tuple{"corrupt-echo=5", -1, 3}, {"", 0x82, 2}}) {
            RadioRig rig;
            rig.radio.setFaults(faults(fault));
            QVERIFY(rig.hook());
            rig.com.setPageWritable(1, true);
            rig.progress.cancelAtValue = cancelAt;
            std::array<uint8_t, 16> buf{};
            QVERIFY(!rig.com.WriteEEBytes(0x80, buf.data(), 16));
            QCOMPARE(int(rig.radio.eepromWrites().size()), words);
            QCOMPARE(rig.com.cancelled(), cancelAt >= 0);
        }
    }

    // Page g is configured when bit 7 (g even) or bit 3 (g odd) of byte
    // 14 + g / 2 is set; a word that cannot be read leaves its four flags.
    void loadPageWritable_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("all") << 0 << QString() << QByteArray("e1 0e e1 10 e1 12 e1 14");
        QTest::newRow("group 15") << 15 << QString() << QByteArray("e1 14");
        QTest::newRow("all, first word lost")
            << 0 << "drop-reply=3" << QByteArray("e1 0e e1 10 e1 12 e1 14");
    }
    void loadPageWritable() {
        QFETCH(int, group);
        QFETCH(QString, fault);
        QFETCH(QByteArray, wire);
        RadioRig rig;
        const uint8_t config[8] = {0x08, 0x80, 0x88, 0x00, 0x80, 0x08, 0x88, 0x80};
        std::copy(config, config + 8, rig.radio.eeprom().begin() + 14);
        rig.radio.setFaults(faults(fault));
        QVERIFY(rig.hook());
        for (int p = 0; p < kPageCount; ++p) rig.com.setPageWritable(p, p % 3 == 1);
        rig.com.LoadPageWritable(int16_t(group));
        QCOMPARE(hex(rig.radio.received()), wire);
        const int first = group & ~3, last = group == 0 ? 15 : first + 3;
        for (int p = 1; p < kPageCount; ++p) {
            const bool loaded = p >= first && p <= last && (fault.isEmpty() || p > 3);
            const bool bit = config[p / 2] & (p % 2 ? 0x08 : 0x80);
            QCOMPARE(rig.com.pageWritable(p), loaded ? bit : p % 3 == 1);
        }
        QVERIFY(rig.com.pageWritable(0));
    }
};

TAV_TEST_GUILESS(TestEEPromAccess);
#include "tst_eepromaccess.moc"
