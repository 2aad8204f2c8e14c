#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/Settings.h"
#include "model/AppState.h"

using namespace tav;
using namespace tav::test;

class TestAppState : public QObject {
    Q_OBJECT
    ScratchHome home_;

private slots:
    // Over random images, pages, addresses, masks and data: the byte becomes
    // (old and not mask) or (data and mask), and no other byte changes.
    void writeByteChangesOnlyMaskedBits() {
        QRandomGenerator rng(3);
        for (quint32 seed = 1; seed <= 200; ++seed) {
            AppState s = randomImage(seed);
            const AppState before = s;
            const int page = rng.bounded(16), address = rng.bounded(kPageSize);
            const uint8_t mask = uint8_t(rng.bounded(256)), data = uint8_t(rng.bounded(256));
            const int i = page * kPageSize + address;
            WriteByte(s, int16_t(page), int16_t(address), mask, data);
            const int expected = (before.EEImage[std::size_t(i)] & ~mask) | (data & mask);
            QCOMPARE(int(intRead_Addrs(s, int16_t(page), int16_t(address))), expected);
            AllowedBits ok;
            QCOMPARE(strayChanges(before, s, ok.eeBits(page, address, mask)), QString());
        }
    }

    void settings() {
        // The port number: 1 when missing, not a number or out of range.
        for (const auto& [stored, expected] :
             {std::pair{"", 1}, {"3", 3}, {"three", 1}, {"9", 1}}) {
            Settings st;
            if (*stored) st.save("Comm", "Port", stored);
            QCOMPARE(st.commPort(), expected);
            st.save("Comm", "Port", "1");
        }
        Settings st;
        st.saveFlag("Features", "Band", false);
        st.sync();
        QCOMPARE(st.fileName(), home_.path() + "/config/TAVEDWIN/TAVEDWIN.ini");
        Settings again;
        QVERIFY(again.get("Features", "Band") == "False" && again.flag("Features", "Power", true));
        again.save("Position", "GroupTop", "abc");
        QCOMPARE(again.number("Position", "GroupTop", 42.0), 42.0);
    }
};

TAV_TEST_GUILESS(TestAppState);
#include "tst_appstate.moc"
