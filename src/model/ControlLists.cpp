#include "model/ControlLists.h"

namespace tav::lists {

QStringList scanHoldTimes() {
    QStringList l;
    for (int i = 0; i < 16; ++i) l << QString::number(i * 0.5, 'f', 1);
    return l;
}

QStringList timeOutTimes() {
    QStringList l{QStringLiteral("OFF")};
    for (int i = 1; i < 16; ++i) l << QString::number(i * 15);
    return l;
}

QStringList busyChannel() { return {"OFF", "Indicate", "Override", "Lockout"}; }

QStringList aniDtmf() { return {"OFF", "DTMF Only", "ANI Only", "DTMF w/ manual ANI"}; }

QStringList priorityChannels() {
    QStringList l;
    for (int i = 1; i <= 14; ++i) l << QStringLiteral("Ch %1").arg(i);
    return l;
}

QStringList ucgChannels() {
    QStringList l{QStringLiteral("OFF")};
    for (int i = 1; i <= 14; ++i) l << QString::number(i);
    return l;
}

QStringList backlightTimeouts() {
    return {"Always Off", "1 Second",  "2 Seconds", "3 Seconds",
            "4 Seconds",  "5 Seconds", "6 Seconds", "Always On"};
}

QStringList priorityRates() {
    return {".25", ".5",  ".75", "1",    "1.25", "1.5", "1.75", "2",
            "2.25", "2.5", "2.75", "3", "3.25", "3.5", "3.75", "4"};
}

QStringList dtmfDeviations() {
    QStringList l{QStringLiteral("0")};
    for (int n = 1; n <= 31; ++n) l << QStringLiteral("%1").arg(187.5 * n, 6, 'f', 1);
    return l;
}

QStringList batterySaverInhibit() { return {"Enable", "Inhibit"}; }

QStringList disabledEnabled() { return {"Disabled", "Enabled"}; }

QStringList aniRates() { return {"10", "20"}; }

QStringList porchTimes() { return {"30", "360", "690", "1020"}; }

}  // namespace tav::lists
