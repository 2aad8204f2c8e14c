#include "model/clsGlobals.h"

#include <QString>

#include "model/FieldTable.h"
#include "model/MGlobals.h"

namespace tav {

clsGlobals::clsGlobals(AppState& state, GlobalControls& controls, std::function<void()> showWindow)
    : state_(state), controls_(controls), showWindow_(std::move(showWindow)) {}

void clsGlobals::read(const char* key) {
    ReadFieldControl(state_, Field(FieldScope::Unit, key), -1, controls_.fields);
}

void clsGlobals::write(const char* key) {
    WriteFieldControl(state_, Field(FieldScope::Unit, key), -1, controls_.fields);
}

void clsGlobals::Read_Globals() {
    if (showWindow_) showWindow_();
    Read_Password();
    Read_DTMF_Dev();
    Read_Front_Porch_Time();
    Read_ANI_Rate();
    Read_Pri_Rate();
    Read_Battery_Saver_Inhibit();
    Read_Freq_Display();
    Read_Per_Channel_Power();
    Read_Per_Channel_BandWidth();
    Read_Bank_Scan();
}

void clsGlobals::Read_DTMF_Dev() {
    read("dtmf_deviation");
}
void clsGlobals::Read_Front_Porch_Time() {
    read("front_porch_time");
}
void clsGlobals::Read_ANI_Rate() {
    read("ani_rate");
}
void clsGlobals::Read_Pri_Rate() {
    read("priority_rate");
}
void clsGlobals::Read_Battery_Saver_Inhibit() {
    read("global_battery_saver");
}
void clsGlobals::Read_Freq_Display() {
    read("display_frequencies_only");
}
void clsGlobals::Read_Per_Channel_Power() {
    controls_.chkPerChannelPower = state_.PowerBlockPresent;
}
void clsGlobals::Read_Per_Channel_BandWidth() {
    read("per_channel_bandwidth");
}
void clsGlobals::Read_Bank_Scan() {
    read("bank_scan");
}

void clsGlobals::Write_Globals() {
    Write_DTMF_Dev();
    Write_Front_Porch_Time();
    Write_ANI_Rate();
    Write_Pri_Rate();
    Write_Battery_Saver_Inhibit();
    Write_Freq_Display();
    Write_Bank_Scan();
    Write_Password();
}

// Each changes its field's bits only.
void clsGlobals::Write_DTMF_Dev() {
    write("dtmf_deviation");
}
void clsGlobals::Write_Front_Porch_Time() {
    write("front_porch_time");
}
void clsGlobals::Write_ANI_Rate() {
    write("ani_rate");
}
void clsGlobals::Write_Pri_Rate() {
    write("priority_rate");
}
void clsGlobals::Write_Battery_Saver_Inhibit() {
    write("global_battery_saver");
}
void clsGlobals::Write_Freq_Display() {
    write("display_frequencies_only");
}
void clsGlobals::Write_Bank_Scan() {
    write("bank_scan");
}

void clsGlobals::Read_Password() {
    read("password");
}

// As typed: a short text is left-padded with zeros, what follows the sixth
// digit is dropped and any other character counts as 0.
void clsGlobals::Write_Password() {
    write("password");
}

}  // namespace tav
