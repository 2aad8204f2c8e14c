#include "model/clsGlobals.h"

#include <QString>

#include "model/FieldTable.h"
#include "model/MGlobals.h"

namespace tav {

namespace {
constexpr int16_t kGlobalPage = 0;
}  // namespace

clsGlobals::clsGlobals(AppState& state, GlobalControls& controls, std::function<void()> showWindow)
    : state_(state), controls_(controls), showWindow_(std::move(showWindow)) {}

int16_t clsGlobals::readByte(int16_t address) const {
    return intRead_Addrs(state_, kGlobalPage, address);
}

void clsGlobals::writeByte(int16_t address, int16_t mask, int16_t data) {
    WriteByte(state_, kGlobalPage, address, mask, data);
}

int clsGlobals::number(const char* key) const {
    return FieldNumber(state_, Field(FieldScope::Unit, key), -1, -1);
}

void clsGlobals::setNumber(const char* key, int value) {
    WriteFieldNumber(state_, Field(FieldScope::Unit, key), -1, -1, value);
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
    controls_.cboDTMFDev = number("dtmf_deviation");
}
void clsGlobals::Read_Front_Porch_Time() {
    controls_.cboPorchTime = number("front_porch_time");
}
void clsGlobals::Read_ANI_Rate() {
    controls_.cboANIRate = number("ani_rate");
}
void clsGlobals::Read_Pri_Rate() {
    controls_.cboPriRate = number("priority_rate");
}
void clsGlobals::Read_Battery_Saver_Inhibit() {
    controls_.cboBattSave = number("global_battery_saver");
}
void clsGlobals::Read_Freq_Display() {
    controls_.cboFreqDisplay = number("display_frequencies_only");
}
void clsGlobals::Read_Per_Channel_Power() {
    controls_.chkPerChannelPower = state_.PowerBlockPresent;
}
void clsGlobals::Read_Per_Channel_BandWidth() {
    controls_.chkPerChannelBandwidth = number("per_channel_bandwidth");
}
void clsGlobals::Read_Bank_Scan() {
    controls_.cboTalkBack = number("bank_scan");
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
    setNumber("dtmf_deviation", controls_.cboDTMFDev);
}
void clsGlobals::Write_Front_Porch_Time() {
    setNumber("front_porch_time", controls_.cboPorchTime);
}
void clsGlobals::Write_ANI_Rate() {
    setNumber("ani_rate", controls_.cboANIRate);
}
void clsGlobals::Write_Pri_Rate() {
    setNumber("priority_rate", controls_.cboPriRate);
}
void clsGlobals::Write_Battery_Saver_Inhibit() {
    setNumber("global_battery_saver", controls_.cboBattSave);
}
void clsGlobals::Write_Freq_Display() {
    setNumber("display_frequencies_only", controls_.cboFreqDisplay);
}
void clsGlobals::Write_Bank_Scan() {
    setNumber("bank_scan", controls_.cboTalkBack);
}

void clsGlobals::Read_Password() {
    controls_.txtPassWord = ReadFieldValue(state_, Field(FieldScope::Unit, "password"), -1, -1);
}

// As typed: a short text is left-padded with zeros, what follows the sixth
// digit is dropped and any other character counts as 0.
void clsGlobals::Write_Password() {
    const FieldDef& f = Field(FieldScope::Unit, "password");
    const QString t = controls_.txtPassWord.rightJustified(HexDigitCount(f), u'0');
    for (int i = 0; i < f.bytes; ++i)
        writeByte(int16_t(f.offset + i), 0xFF, int16_t(HexTextToValue(t.mid(2 * i, 2))));
}

}  // namespace tav
