#include <QtTest>
#include <functional>

#include "TestMain.h"
#include "ModelFixtures.h"
#include "model/ControlLists.h"
#include "model/clsGlobals.h"

using namespace tav;

using GlobalsOp = std::function<void(clsGlobals&)>;
Q_DECLARE_METATYPE(GlobalsOp)

namespace {
GlobalControls randomControls(QRandomGenerator& rng) {
    GlobalControls c;
    c.cboBattSave = rng.bounded(2);
    c.cboPriRate = rng.bounded(16);
    c.cboTalkBack = rng.bounded(2);
    c.cboDTMFDev = rng.bounded(32);
    c.cboANIRate = rng.bounded(2);
    c.cboPorchTime = rng.bounded(4);
    c.cboFreqDisplay = rng.bounded(2);
    c.txtPassWord =
        QStringLiteral("%1").arg(rng.bounded(0x1000000), 6, 16, QLatin1Char('0')).toUpper();
    return c;
}
}  // namespace

class TestClsGlobals : public QObject {
    Q_OBJECT

private slots:
    void allFFBlockReads() {
        AppState s;
        s.EEImage.fill(0xFF);
        s.PowerBlockPresent = 1;
        GlobalControls c;
        clsGlobals globals(s, c);
        globals.Read_Globals();
        QCOMPARE(lists::dtmfDeviations().at(c.cboDTMFDev), QStringLiteral("5812.5"));
        QCOMPARE(lists::porchTimes().at(c.cboPorchTime), QStringLiteral("1020"));
        QCOMPARE(lists::aniRates().at(c.cboANIRate), QStringLiteral("20"));
        QCOMPARE(lists::priorityRates().at(c.cboPriRate), QStringLiteral("4"));
        QCOMPARE(lists::batterySaverInhibit().at(c.cboBattSave), QStringLiteral("Inhibit"));
        QCOMPARE(lists::disabledEnabled().at(c.cboFreqDisplay), QStringLiteral("Enabled"));
        QCOMPARE(lists::disabledEnabled().at(c.cboTalkBack), QStringLiteral("Enabled"));
        QCOMPARE(c.chkPerChannelBandwidth, 1);
        QCOMPARE(c.chkPerChannelPower, 1);
        QCOMPARE(c.txtPassWord, QStringLiteral("FFFFFF"));
    }

    void showsTheWindowBeforeReading() {
        AppState s;
        s.EEImage[11] = 0x38;
        GlobalControls c;
        QString seenWhenShown = "not shown";
        clsGlobals globals(s, c, [&] { seenWhenShown = c.txtPassWord; });
        globals.Read_Globals();
        QCOMPARE(seenWhenShown, QString());
        QCOMPARE(c.txtPassWord, QStringLiteral("380000"));
    }

    void password_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("bytes");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("three digits padded") << "ABC" << QList<int>{0x00, 0x0A, 0xBC} << "000ABC";
        QTest::newRow("seventh ignored") << "1234567" << QList<int>{0x12, 0x34, 0x56} << "123456";
        QTest::newRow("empty") << "" << QList<int>{0, 0, 0} << "000000";
        QTest::newRow("non-hex is 0") << "zz1" << QList<int>{0x00, 0x00, 0x01} << "000001";
    }
    void password() {
        QFETCH(QString, text);
        QFETCH(QList<int>, bytes);
        QFETCH(QString, readBack);
        AppState s;
        s.EEImage.fill(0x77);
        GlobalControls c;
        c.txtPassWord = text;
        clsGlobals globals(s, c);
        globals.Write_Password();
        QCOMPARE((QList<int>{s.EEImage[11], s.EEImage[12], s.EEImage[13]}), bytes);
        QCOMPARE(int(s.EEImage[10]), 0x77);
        QCOMPARE(int(s.EEImage[14]), 0x77);
        c.txtPassWord.clear();
        globals.Read_Password();
        QCOMPARE(c.txtPassWord, readBack);
    }

    void writesAreMasked_data() {
        QTest::addColumn<GlobalsOp>("op");
        QTest::addColumn<QList<int>>("addressMasks");  // address, mask pairs in page 0
        auto row = [](const char* name, void (clsGlobals::*fn)(), QList<int> am) {
            QTest::newRow(name) << GlobalsOp([fn](clsGlobals& g) { (g.*fn)(); }) << am;
        };
        row("Write_DTMF_Dev", &clsGlobals::Write_DTMF_Dev, {7, 0xF8});
        row("Write_Front_Porch_Time", &clsGlobals::Write_Front_Porch_Time, {7, 0x03});
        row("Write_ANI_Rate", &clsGlobals::Write_ANI_Rate, {7, 0x04});
        row("Write_Pri_Rate", &clsGlobals::Write_Pri_Rate, {6, 0x78});
        row("Write_Battery_Saver_Inhibit", &clsGlobals::Write_Battery_Saver_Inhibit, {6, 0x80});
        row("Write_Freq_Display", &clsGlobals::Write_Freq_Display, {104, 0x80});
        row("Write_Bank_Scan", &clsGlobals::Write_Bank_Scan, {6, 0x01});
        row("Write_Password", &clsGlobals::Write_Password, {11, 0xFF, 12, 0xFF, 13, 0xFF});
        // Bits 1 and 2 of byte 6 and bits 6-0 of byte 104 are never written.
        row("Write_Globals", &clsGlobals::Write_Globals,
            {6, 0xF9, 7, 0xFF, 11, 0xFF, 12, 0xFF, 13, 0xFF, 104, 0x80});
    }
    void writesAreMasked() {
        QFETCH(GlobalsOp, op);
        QFETCH(QList<int>, addressMasks);
        for (quint32 seed = 1; seed <= 20; ++seed) {
            AppState s;
            test::randomFill(s, seed);
            QRandomGenerator rng(seed * 3);
            GlobalControls c = randomControls(rng);
            const AppState before = s;
            clsGlobals globals(s, c);
            op(globals);
            test::AllowedBits ok;
            for (int i = 0; i < addressMasks.size(); i += 2)
                ok.eeBits(0, addressMasks[i], uint8_t(addressMasks[i + 1]));
            QCOMPARE(test::strayChanges(before, s, ok), QString());
        }
    }

    void writeThenReadGivesTheSameControls() {
        for (quint32 seed = 1; seed <= 20; ++seed) {
            AppState s;
            test::randomFill(s, seed);
            QRandomGenerator rng(seed);
            GlobalControls c = randomControls(rng);
            const GlobalControls w = c;
            clsGlobals globals(s, c);
            globals.Write_Globals();
            c = GlobalControls();
            globals.Read_Globals();
            QCOMPARE((QList<int>{c.cboBattSave, c.cboPriRate, c.cboTalkBack, c.cboDTMFDev,
                                 c.cboANIRate, c.cboPorchTime, c.cboFreqDisplay}),
                     (QList<int>{w.cboBattSave, w.cboPriRate, w.cboTalkBack, w.cboDTMFDev,
                                 w.cboANIRate, w.cboPorchTime, w.cboFreqDisplay}));
            QCOMPARE(c.txtPassWord, w.txtPassWord);
            QCOMPARE(c.chkPerChannelBandwidth, (s.EEImage[6] >> 2) & 1);
        }
    }

    void fieldPositions() {
        AppState s;
        GlobalControls c;
        c.cboBattSave = 1;
        c.cboPriRate = 5;
        c.cboTalkBack = 1;
        c.cboDTMFDev = 17;
        c.cboANIRate = 1;
        c.cboPorchTime = 2;
        c.cboFreqDisplay = 1;
        c.txtPassWord = "381902";
        clsGlobals(s, c).Write_Globals();
        QCOMPARE(int(s.EEImage[6]), 0x80 | 0x28 | 0x01);
        QCOMPARE(int(s.EEImage[7]), 0x88 | 0x04 | 0x02);
        QCOMPARE(int(s.EEImage[104]), 0x80);
    }
};

TAV_TEST_GUILESS(TestClsGlobals);
#include "tst_clsglobals.moc"
