#include "model/clsGlobals.h"

#include <QString>

#include "model/MGlobals.h"
#include "model/NumberText.h"

namespace tav {

namespace {
constexpr int16_t kGlobalPage = 0;
constexpr int16_t kFlags = 6;      // battery saver inhibit, priority rate, bandwidth, bank scan
constexpr int16_t kDtmf = 7;       // deviation, ANI rate, front porch
constexpr int16_t kPassword = 11;  // 11, 12, 13
constexpr int16_t kDisplay = 104;  // frequency-only display in bit 7
constexpr int kPasswordBytes = 3;
}  // namespace

clsGlobals::clsGlobals(AppState& state, GlobalControls& controls, std::function<void()> showWindow)
    : state_(state), controls_(controls), showWindow_(std::move(showWindow)) {}

int16_t clsGlobals::readByte(int16_t address) const {
    return intRead_Addrs(state_, kGlobalPage, address);
}

void clsGlobals::writeByte(int16_t address, int16_t mask, int16_t data) {
    WriteByte(state_, kGlobalPage, address, mask, data);
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
    controls_.cboDTMFDev = (readByte(kDtmf) & 0xF8) >> 3;
}
void clsGlobals::Read_Front_Porch_Time() {
    controls_.cboPorchTime = readByte(kDtmf) & 3;
}
void clsGlobals::Read_ANI_Rate() {
    controls_.cboANIRate = (readByte(kDtmf) & 4) >> 2;
}
void clsGlobals::Read_Pri_Rate() {
    controls_.cboPriRate = (readByte(kFlags) & 0x78) >> 3;
}
void clsGlobals::Read_Battery_Saver_Inhibit() {
    controls_.cboBattSave = readByte(kFlags) >> 7;
}
void clsGlobals::Read_Freq_Display() {
    controls_.cboFreqDisplay = readByte(kDisplay) >> 7;
}
void clsGlobals::Read_Per_Channel_Power() {
    controls_.chkPerChannelPower = state_.PowerBlockPresent;
}
void clsGlobals::Read_Per_Channel_BandWidth() {
    controls_.chkPerChannelBandwidth = (readByte(kFlags) & 4) >> 2;
}
void clsGlobals::Read_Bank_Scan() {
    controls_.cboTalkBack = readByte(kFlags) & 1;
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

// The masks keep every other field of the byte as it was.
void clsGlobals::Write_DTMF_Dev() {
    writeByte(kDtmf, 0xF8, int16_t(controls_.cboDTMFDev * 8));
}
void clsGlobals::Write_Front_Porch_Time() {
    writeByte(kDtmf, 0x03, int16_t(controls_.cboPorchTime));
}
void clsGlobals::Write_ANI_Rate() {
    writeByte(kDtmf, 0x04, int16_t(controls_.cboANIRate * 4));
}
void clsGlobals::Write_Pri_Rate() {
    writeByte(kFlags, 0x78, int16_t(controls_.cboPriRate * 8));
}
void clsGlobals::Write_Battery_Saver_Inhibit() {
    writeByte(kFlags, 0x80, int16_t(controls_.cboBattSave * 128));
}
void clsGlobals::Write_Freq_Display() {
    writeByte(kDisplay, 0x80, int16_t(controls_.cboFreqDisplay * 128));
}
void clsGlobals::Write_Bank_Scan() {
    writeByte(kFlags, 0x01, int16_t(controls_.cboTalkBack));
}

void clsGlobals::Read_Password() {
    QString t;
    for (int i = 0; i < kPasswordBytes; ++i) t += HexByteText(readByte(int16_t(kPassword + i)));
    controls_.txtPassWord = t;
}

void clsGlobals::Write_Password() {
    const QString t = controls_.txtPassWord.rightJustified(2 * kPasswordBytes, u'0');
    for (int i = 0; i < kPasswordBytes; ++i)
        writeByte(int16_t(kPassword + i), 0xFF, int16_t(HexTextToValue(t.mid(2 * i, 2))));
}

}  // namespace tav
