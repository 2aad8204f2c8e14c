#include <QtTest>

#include "TestMain.h"
#include "TestSupport.h"
#include "app/AppState.h"
#include "app/Settings.h"

using namespace tav;

class TestAppState : public QObject {
    Q_OBJECT
    test::ScratchHome home_;

private slots:
    void writeByteChangesOnlyMaskedBits() {
        AppState s;
        s.EEImage[133] = 0xA5;
        QCOMPARE(WriteByte(s, 1, 5, 0x0F, 0x3C), false);
        QCOMPARE(int(s.EEImage[133]), 0xAC);
        QCOMPARE(int(intRead_Addrs(s, 1, 5)), 0xAC);
    }

    void settingsDefaultsAndBadNumbers_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QString() << 1;
        QTest::newRow("number") << "3" << 3;
        QTest::newRow("not a number") << "three" << 1;
        QTest::newRow("out of range") << "9" << 1;
    }
    void settingsDefaultsAndBadNumbers() {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        Settings st;
        if (!stored.isNull()) st.save("Comm", "Port", stored);
        QCOMPARE(st.commPort(), expected);
        st.save("Comm", "Port", "1");
    }

    void settingsLiveUnderTavedwin() {
        Settings st;
        st.saveFlag("Features", "Band", false);
        st.sync();
        QCOMPARE(st.fileName(), home_.path() + "/config/TAVEDWIN/TAVEDWIN.ini");
        Settings again;
        QCOMPARE(again.get("Features", "Band"), QString("False"));
        QCOMPARE(again.flag("Features", "Power", true), true);
        again.save("Position", "GroupTop", "abc");
        QCOMPARE(again.number("Position", "GroupTop", 42.0), 42.0);
    }
};

TAV_TEST_GUILESS(TestAppState);
#include "tst_appstate.moc"
