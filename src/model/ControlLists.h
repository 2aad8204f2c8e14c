#pragma once
// The fixed entries of every list control, by index. The stored radio value is
// the index, so these lists are part of the memory layout.

#include <QStringList>

namespace tav::lists {

QStringList scanHoldTimes();      // cboScan: "0.0" .. "7.5"
QStringList timeOutTimes();       // cboTOT: "OFF", "15" .. "225"
QStringList busyChannel();        // cboBCI
QStringList aniDtmf();            // cboANI
QStringList priorityChannels();   // cboPri1Chan: "Ch 1" .. "Ch 14"
QStringList ucgChannels();        // cboUCGChan: "OFF", "1" .. "14"
QStringList backlightTimeouts();  // cboBlTimeout
QStringList priorityRates();      // cboPriRate: ".25" .. "4"
QStringList dtmfDeviations();     // cboDTMFDev: "0", " 187.5" .. "5812.5"
QStringList batterySaverInhibit();  // cboBattSave: "Enable", "Inhibit"
QStringList disabledEnabled();    // cboTalkBack, cboFreqDisplay
QStringList aniRates();           // cboANIRate: "10", "20"
QStringList porchTimes();         // cboPorchTime: "30", "360", "690", "1020"

}  // namespace tav::lists
