#pragma once
// Codec of the radio's unit-wide parameters: the global block (page 0) to and
// from the controls of the global parameters window.

#include <cstdint>
#include <functional>

#include "model/AppState.h"
#include "model/Controls.h"

namespace tav {

class clsGlobals {
public:
    // showWindow, when given, brings up the global parameters window; it runs
    // at the start of every Read_Globals.
    clsGlobals(AppState& state, GlobalControls& controls, std::function<void()> showWindow = {});

    void Read_Globals();
    void Read_DTMF_Dev();
    void Read_Front_Porch_Time();
    void Read_ANI_Rate();
    void Read_Pri_Rate();
    void Read_Battery_Saver_Inhibit();
    void Read_Freq_Display();
    void Read_Per_Channel_Power();
    void Read_Per_Channel_BandWidth();
    void Read_Bank_Scan();
    void Write_Globals();
    void Write_DTMF_Dev();
    void Write_Front_Porch_Time();
    void Write_ANI_Rate();
    void Write_Pri_Rate();
    void Write_Battery_Saver_Inhibit();
    void Write_Freq_Display();
    void Write_Bank_Scan();
    void Read_Password();
    void Write_Password();

private:
    int16_t readByte(int16_t address) const;
    void writeByte(int16_t address, int16_t mask, int16_t data);
    // The number a unit field of the table holds, and storing one.
    int number(const char* key) const;
    void setNumber(const char* key, int value);

    AppState& state_;
    GlobalControls& controls_;
    std::function<void()> showWindow_;
};

}  // namespace tav
