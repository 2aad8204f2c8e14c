#pragma once
// Plain values of what the windows show. The codecs fill and read these; the
// windows copy them to and from their widgets. A list's value is its selected
// index (the number stored in the radio's bits); a check box is 0 or 1.

#include <QString>
#include <array>

#include "model/AppState.h"

namespace tav {

// The priority-mode option buttons "A", "B", "C", "D" of the main window.
enum class PriorityMode { A, B, C, D };

// The group controls of the main window, plus its three check-box columns.
struct GroupControls {
    int cboScan = 0;       // scan hold time
    int cboTOT = 0;        // transmit time-out timer
    int cboBCI = 0;        // busy channel indicator
    int cboANI = 0;        // resident ANI/DTMF
    int cboPri1Chan = 0;   // priority channel, 0..13
    int cboUCGChan = 0;    // user code guard channel, 0 (OFF)..14
    int cboBlTimeout = 0;  // backlight timeout
    PriorityMode priMode = PriorityMode::A;
    bool optBattSaveOff = false;  // false: "On" selected, true: "Off" selected
    bool optUCGEnabled = false;   // false: "Disabled" selected, true: "Enabled" selected
    int chkPriKeyLock = 0;
    int chkENTCLRLock = 0;
    int chkUCGEncode = 0;
    int chkAlphaEnabled = 0;
    int chkBlKeypress = 0;
    int chkBlOther = 0;
    int chkBLScanState = 0;
    int chkBlChannel = 0;
    QString txtID;
    QString txtGroupLabel;
    std::array<int, kChannelsPerGroup> chkScan{};
    std::array<int, kChannelsPerGroup> chkNarr{};
    std::array<int, kChannelsPerGroup> chkLoPower{};
};

// The controls of the global parameters window.
struct GlobalControls {
    int cboBattSave = 0;     // 0 "Enable", 1 "Inhibit"
    int cboPriRate = 0;      // 0..15
    int cboTalkBack = 0;     // bank scan: 0 "Disabled", 1 "Enabled"
    int cboDTMFDev = 0;      // 0..31
    int cboANIRate = 0;      // 0 "10", 1 "20"
    int cboPorchTime = 0;    // 0 "30" .. 3 "1020"
    int cboFreqDisplay = 0;  // 0 "Disabled", 1 "Enabled"
    int chkPerChannelBandwidth = 0;  // shown only
    int chkPerChannelPower = 0;      // shown only
    QString txtPassWord;
};

}  // namespace tav
