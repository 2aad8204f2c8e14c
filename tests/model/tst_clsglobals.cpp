#include <QtTest>

#include "ModelFixtures.h"
#include "TestMain.h"
#include "model/ControlLists.h"
#include "model/clsGlobals.h"

using namespace tav;
using namespace tav::test;
Q_DECLARE_METATYPE(FieldPin<GlobalControls>)

namespace {
Pins<GlobalControls> globalPins() {
    Pins<GlobalControls> pins;
    const auto pin = [&](const char* name, void (clsGlobals::*write)(), const char* key,
                         const QStringList& entries, int address, int mask, const char* bytes) {
        const auto [set, get] = access<GlobalControls>(key);
        pins.append({name, set, get,
                     [write](AppState& s, GlobalControls& c) { (clsGlobals(s, c).*write)(); },
                     entries, ImageBits{ImageBlock::EEImage, address, uint8_t(mask)}, bytes});
    };
    pin("priority rate", &clsGlobals::Write_Pri_Rate, "priority_rate", lists::priorityRates(), 6,
        0x78,
        ".25=00|.5=08|.75=10|1=18|1.25=20|1.5=28|1.75=30|2=38|2.25=40|2.5=48|2.75=50|3=58|"
        "3.25=60|3.5=68|3.75=70|4=78");
    pin("DTMF deviation", &clsGlobals::Write_DTMF_Dev, "dtmf_deviation", lists::dtmfDeviations(), 7,
        0xF8,
        "0=00| 187.5=08| 375.0=10| 562.5=18| 750.0=20| 937.5=28|1125.0=30|1312.5=38|"
        "1500.0=40|1687.5=48|1875.0=50|2062.5=58|2250.0=60|2437.5=68|2625.0=70|2812.5=78|"
        "3000.0=80|3187.5=88|3375.0=90|3562.5=98|3750.0=A0|3937.5=A8|4125.0=B0|4312.5=B8|"
        "4500.0=C0|4687.5=C8|4875.0=D0|5062.5=D8|5250.0=E0|5437.5=E8|5625.0=F0|5812.5=F8");
    pin("battery saver", &clsGlobals::Write_Battery_Saver_Inhibit, "global_battery_saver",
        lists::batterySaverInhibit(), 6, 0x80, "Enable=00|Inhibit=80");
    pin("bank scan", &clsGlobals::Write_Bank_Scan, "bank_scan", lists::disabledEnabled(), 6, 0x01,
        "Disabled=00|Enabled=01");
    pin("frequency display", &clsGlobals::Write_Freq_Display, "display_frequencies_only",
        lists::disabledEnabled(), 104, 0x80, "Disabled=00|Enabled=80");
    pin("ANI rate", &clsGlobals::Write_ANI_Rate, "ani_rate", lists::aniRates(), 7, 0x04,
        "10=00|20=04");
    pin("front porch", &clsGlobals::Write_Front_Porch_Time, "front_porch_time", lists::porchTimes(),
        7, 0x03, "30=00|360=01|690=02|1020=03");
    return pins;
}

GlobalControls readGlobalControls(AppState& s) {
    GlobalControls c;
    clsGlobals(s, c).Read_Globals();
    return c;
}
}  // namespace

class TestClsGlobals : public QObject {
    Q_OBJECT

private slots:
    void showsTheWindowBeforeReading() {
        AppState s;
        s.EEImage[11] = 0x38;
        GlobalControls c;
        QString seenWhenShown = "not shown";
        clsGlobals(s, c, [&] { seenWhenShown = c.fields.text("password"); }).Read_Globals();
        QCOMPARE(seenWhenShown + "|" + c.fields.text("password"), "|380000");
    }

    // Every entry of every list, with its byte in page 0 worked out by hand.
    void listEntriesAreTheirBytes_data() { addPinRows(globalPins()); }
    void listEntriesAreTheirBytes() {
        QFETCH(FieldPin<GlobalControls>, pin);
        checkPin<GlobalControls>(pin, randomImage, readGlobalControls);
    }
};

TAV_TEST_GUILESS(TestClsGlobals);
#include "tst_clsglobals.moc"
