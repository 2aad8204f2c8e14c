// EEPROM words, bytes and blocks on the wire, write masks and page permissions.

#include <QRandomGenerator>
#include <QtTest>
#include <set>

#include "TestMain.h"
#include "RadioRig.h"

using namespace tav;
using namespace tav::test;

namespace {

// Fills the radio's EEPROM with a pattern that differs from address to address.
void fillPattern(sim::VirtualRadio& radio) {
    for (int a = 0; a < kEEPromSize; ++a) radio.eeprom()[a] = uint8_t(a * 7 + 0x35);
}

// The bits a word write at `address` may change, byte by byte.
uint8_t allowedBits(const RadioRig& rig, int address) {
    const int page = address / kPageSize, offset = address % kPageSize;
    if (page == 0) return rig.state.GlobalWriteMask[offset];
    return rig.com.pageWritable(page) ? rig.state.GroupWriteMask[offset] : 0xFF;
}

}  // namespace

class TestEEPromAccess : public QObject {
    Q_OBJECT

private slots:
    void readByte() {
        RadioRig rig;
        rig.radio.setFaults(faults("drop-reply=2"));
        fillPattern(rig.radio);
        QVERIFY(rig.hook());
        uint8_t b = 0x99;
        // Only one byte came (the second of the word), taken as the first.
        QVERIFY(!rig.com.ReadEEByte(0x41, b));
        QCOMPARE(int(b), 0);
        rig.com.delay(600);
        rig.radio.clearRecords();
        QVERIFY(rig.com.ReadEEByte(7, b));
        QCOMPARE(hex(rig.radio.received()), hex(bytes({0xE1, 0x06})));
        QCOMPARE(int(b), int(rig.radio.eeprom()[7]));
        QVERIFY(rig.com.ReadEEByte(0x300, b));
        QCOMPARE(int(b), int(rig.radio.eeprom()[0x300]));
    }

    // Each write-mask case: what goes on the wire and what the radio holds
    // after. When the radio's word cannot be read its protected bits are
    // unknown: the write is abandoned rather than risk changing them.
    void writeWordMasks_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<bool>("pageWritable");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<int>("ee0");
        QTest::addColumn<int>("ee1");
        // The radio holds 0x5A, 0xC3 at the word; the editor writes 0x24, 0x81.
        QTest::newRow("offset 0: nothing") << 0 << false << "" << QByteArray() << 0x5A << 0xC3;
        QTest::newRow("offset 12: whole")
            << 12 << false << "" << QByteArray("e0 0c 24 81") << 0x24 << 0x81;
        QTest::newRow("offset 6: merged")
            << 6 << false << "" << QByteArray("e1 06 e0 06 22 81") << 0x22 << 0x81;
        QTest::newRow("offset 104: bit 7")
            << 104 << false << "" << QByteArray("e1 68 e0 68 5a c3") << 0x5A << 0xC3;
        QTest::newRow("page 2 offset 8, writable")
            << 0x108 << true << "" << QByteArray("e3 08 e2 08 54 c3") << 0x54 << 0xC3;
        QTest::newRow("page 2 offset 8, not writable")
            << 0x108 << false << "" << QByteArray("e2 08 24 81") << 0x24 << 0x81;
        QTest::newRow("page 2 offset 10") << 0x10A << true << "" << QByteArray() << 0x5A << 0xC3;
        QTest::newRow("page 15 offset 0x7E")
            << 0x7FE << true << "" << QByteArray("ee fe 24 81") << 0x24 << 0x81;
        // Reply 1 is the identification byte.
        QTest::newRow("offset 6, first byte lost")
            << 6 << false << "drop-reply=2" << QByteArray("e1 06") << 0x5A << 0xC3;
        QTest::newRow("offset 6, second byte lost")
            << 6 << false << "drop-reply=3" << QByteArray("e1 06") << 0x5A << 0xC3;
        QTest::newRow("page 2 offset 8, byte lost")
            << 0x108 << true << "drop-reply=3" << QByteArray("e3 08") << 0x5A << 0xC3;
    }
    void writeWordMasks() {
        QFETCH(int, address);
        QFETCH(bool, pageWritable);
        QFETCH(QString, fault);
        QFETCH(QByteArray, wire);
        QFETCH(int, ee0);
        QFETCH(int, ee1);
        RadioRig rig;
        rig.radio.eeprom()[address] = 0x5A;
        rig.radio.eeprom()[address + 1] = 0xC3;
        rig.com.setPageWritable(address / kPageSize, pageWritable);
        rig.radio.setFaults(faults(fault));
        QVERIFY(rig.hook());
        QCOMPARE(rig.com.WriteEEWord(int16_t(address), 0x24, 0x81), fault.isEmpty());
        QCOMPARE(hex(rig.radio.received()), wire);
        QCOMPARE(int(rig.radio.eeprom()[address]), ee0);
        QCOMPARE(int(rig.radio.eeprom()[address + 1]), ee1);
    }

    // A byte write reads its word and writes it whole, or nothing at all.
    void writeByte_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("read") << QString() << QByteArray("e3 a0 e2 a0 95 77");
        QTest::newRow("read fails") << "drop-reply=3" << QByteArray("e3 a0");
    }
    void writeByte() {
        QFETCH(QString, fault);
        QFETCH(QByteArray, wire);
        RadioRig rig;
        rig.radio.setFaults(faults(fault));
        fillPattern(rig.radio);  // 0x1A0 holds 0x95, 0x1A1 0x9C
        rig.com.setPageWritable(3, false);
        QVERIFY(rig.hook());
        QCOMPARE(rig.com.WriteEEByte(0x1A1, 0x77), fault.isEmpty());
        QCOMPARE(hex(rig.radio.received()), wire);
        QCOMPARE(rig.radio.eeprom()[0x1A1] == 0x77, fault.isEmpty());
    }

    void readBlock() {
        RadioRig rig;
        fillPattern(rig.radio);
        QVERIFY(rig.hook());
        std::array<uint8_t, kEEPromSize> buf{};
        QVERIFY(rig.com.ReadEEBytes(0, buf.data(), kEEPromSize));
        QVERIFY(std::equal(buf.begin(), buf.end(), rig.radio.eeprom().begin()));
        const QStringList head = rig.progress.log.mid(0, 6);
        QCOMPARE(head,
                 (QStringList{"min=0", "max=30000", "min=0", "max=2048", "show", "EnableCancel"}));
        QCOMPARE(rig.progress.log.mid(6, 2), (QStringList{"value=2", "value=4"}));
        QCOMPARE(rig.progress.log.last(), QStringLiteral("value=2048"));
        QCOMPARE(rig.clock.blockingSleeps(), 1);
        QCOMPARE(rig.radio.received().size(), std::size_t(2048));
        QVERIFY(rig.progress.visible);  // the caller hides it
    }

    // An odd count fetches a whole last word but stores only what was asked for.
    void readBlockOddCount() {
        RadioRig rig;
        fillPattern(rig.radio);
        QVERIFY(rig.hook());
        std::array<uint8_t, 5> buf;
        buf.fill(0xEE);
        QVERIFY(rig.com.ReadEEBytes(0x101, buf.data(), 3));
        QCOMPARE(hex(rig.radio.received()), hex(bytes({0xE3, 0x01, 0xE3, 0x03})));
        for (int i = 0; i < 3; ++i) QCOMPARE(int(buf[i]), int(rig.radio.eeprom()[0x101 + i]));
        QCOMPARE(int(buf[3]), 0xEE);
        QCOMPARE(rig.progress.log.mid(2, 2), (QStringList{"min=257", "max=260"}));
    }

    // A block stops at the first word that fails and, on Cancel, before the
    // word after the one that moved the bar to the Cancel value.
    void blockStops_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<int>("words");  // words asked for (read) or written (write)
        QTest::newRow("read, reply lost") << false << "drop-reply=8" << -1 << 4;
        QTest::newRow("read, cancelled") << false << "" << 0x84 << 2;
        QTest::newRow("write, echo wrong") << true << "corrupt-echo=5" << -1 << 3;
        QTest::newRow("write, cancelled") << true << "" << 0x82 << 2;
    }
    void blockStops() {
        QFETCH(bool, write);
        QFETCH(QString, fault);
        QFETCH(int, cancelAt);
        QFETCH(int, words);
        RadioRig rig;
        rig.radio.setFaults(faults(fault));  // reply 1 is the identification byte
        QVERIFY(rig.hook());
        rig.com.setPageWritable(1, true);
        rig.progress.cancelAtValue = cancelAt;
        std::array<uint8_t, 16> buf{};
        QVERIFY(!(write ? rig.com.WriteEEBytes(0x80, buf.data(), 16)
                        : rig.com.ReadEEBytes(0x80, buf.data(), 16)));
        if (write)
            QCOMPARE(int(rig.radio.eepromWrites().size()), words);
        else
            QCOMPARE(int(rig.radio.received().size()), 2 * words);
        QCOMPARE(rig.com.cancelled(), cancelAt >= 0);
    }

    void writeBlockSkipsPagesNotWritable() {
        RadioRig rig;
        QVERIFY(rig.hook());
        for (int p = 0; p < kPageCount; ++p) rig.com.setPageWritable(p, p != 3 && p != 4);
        std::array<uint8_t, 1920> buf;
        for (std::size_t i = 0; i < buf.size(); ++i) buf[i] = uint8_t(i ^ 0xA5);
        QVERIFY(rig.com.WriteEEBytes(128, buf.data(), 1920));
        QCOMPARE(rig.progress.log.mid(0, 7),
                 (QStringList{"min=0", "max=30000", "min=128", "max=2048", "value=128", "show",
                              "EnableCancel"}));
        QCOMPARE(rig.progress.log.last(), QStringLiteral("value=2046"));
        std::set<int> addresses;
        for (const sim::EEWrite& w : rig.radio.eepromWrites()) addresses.insert(w.address);
        for (int a = 128; a < 2048; a += 2) {
            const bool skipped = a >= 384 && a < 640;
            const int offset = a % kPageSize;
            const bool masked = offset == 10 || offset == 12 || offset == 14;
            QCOMPARE(addresses.count(a) == 1, !skipped && !masked);
        }
        for (const sim::EEWrite& w : rig.radio.eepromWrites()) QVERIFY(w.address >= 128);
    }

    // The byte after an odd-sized block keeps the radio's value.
    void writeBlockOddCount() {
        RadioRig rig;
        fillPattern(rig.radio);
        QVERIFY(rig.hook());
        rig.com.setPageWritable(1, true);
        const uint8_t after = rig.radio.eeprom()[0x83];
        const uint8_t buf[3] = {1, 2, 3};
        QVERIFY(rig.com.WriteEEBytes(0x80, buf, 3));
        QCOMPARE(hex(Bytes(rig.radio.eeprom().begin() + 0x80, rig.radio.eeprom().begin() + 0x84)),
                 hex(bytes({1, 2, 3, after})));
    }

    void loadPageWritable_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("all") << 0 << QByteArray("e1 0e e1 10 e1 12 e1 14");
        QTest::newRow("group 3") << 3 << QByteArray("e1 0e");
        QTest::newRow("group 6") << 6 << QByteArray("e1 10");
        QTest::newRow("group 15") << 15 << QByteArray("e1 14");
    }
    void loadPageWritable() {
        QFETCH(int, group);
        QFETCH(QByteArray, wire);
        RadioRig rig;
        // Configuration bits: page g is bit 7 (g even) or bit 3 (g odd) of byte 14 + g / 2.
        const uint8_t config[8] = {0x08, 0x80, 0x88, 0x00, 0x80, 0x08, 0x88, 0x80};
        std::copy(config, config + 8, rig.radio.eeprom().begin() + 14);
        QVERIFY(rig.hook());
        rig.com.LoadPageWritable(int16_t(group));
        QCOMPARE(hex(rig.radio.received()), wire);
        const int first = group == 0 ? 0 : group & ~3, last = group == 0 ? 15 : first + 3;
        for (int p = 0; p < kPageCount; ++p) {
            const uint8_t byte = config[p / 2];
            const bool expected = p >= first && p <= last && (byte & (p % 2 ? 0x08 : 0x80));
            QCOMPARE(rig.com.pageWritable(p), p == 0 || expected);
        }
    }

    void loadPageWritableKeepsFlagsWhenTheReadFails() {
        RadioRig rig;
        rig.radio.setFaults(faults("drop-reply=3"));  // the word at 14
        QVERIFY(rig.hook());
        rig.com.setPageWritable(1, true);
        rig.com.setPageWritable(2, false);
        rig.radio.eeprom()[16] = 0x88;
        rig.com.LoadPageWritable(0);
        QVERIFY(rig.com.pageWritable(1) && !rig.com.pageWritable(2) && rig.com.pageWritable(4));
    }

    // Over many random radios, masks and permissions: a write never changes
    // a bit its mask protects, and every bit it may change takes the new value.
    void masksNeverLeak() {
        QRandomGenerator rng(20240611);
        for (int round = 0; round < 16; ++round) {
            RadioRig rig;
            for (auto& b : rig.radio.eeprom()) b = uint8_t(rng.bounded(256));
            for (auto& b : rig.state.GlobalWriteMask) b = uint8_t(rng.bounded(256));
            for (auto& b : rig.state.GroupWriteMask) b = uint8_t(rng.bounded(256));
            // Some all-open and all-closed words too.
            for (int i = 0; i < 16; ++i) {
                const int o = int(rng.bounded(64)) * 2;
                const uint8_t v = rng.bounded(2) ? 0xFF : 0x00;
                rig.state.GroupWriteMask[o] = rig.state.GroupWriteMask[o + 1] = v;
            }
            for (int p = 0; p < kPageCount; ++p) rig.com.setPageWritable(p, rng.bounded(2));
            QVERIFY(rig.hook());
            const auto before = rig.radio.eeprom();
            std::array<uint8_t, kEEPromSize> data;
            for (auto& b : data) b = uint8_t(rng.bounded(256));
            if (round % 2) {
                QVERIFY(rig.com.WriteEEBytes(0, data.data(), kEEPromSize));
            } else {
                for (int n = 0; n < 300; ++n) {
                    const int a = int(rng.bounded(kEEPromSize / 2)) * 2;
                    QVERIFY(rig.com.WriteEEWord(int16_t(a), data[a], data[a + 1]));
                }
            }
            std::set<int> written;
            for (const sim::EEWrite& w : rig.radio.eepromWrites()) written.insert(w.address);
            for (int a = 0; a < kEEPromSize; ++a) {
                const uint8_t open = allowedBits(rig, a);
                const uint8_t after = rig.radio.eeprom()[a];
                QCOMPARE(int((after ^ before[a]) & ~open & 0xFF), 0);
                if (written.count(a & ~1)) QCOMPARE(int(after & open), int(data[a] & open));
            }
        }
    }
};

TAV_TEST_GUILESS(TestEEPromAccess);
#include "tst_eepromaccess.moc"
