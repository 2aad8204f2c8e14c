#pragma once
// A bench of radios taking turns on one line: radio 1 answers, is programmed
// and leaves, the line stays silent while the next one is plugged in, then
// radio 2 answers, and so on. Each radio has its own random image.
//
// A radio leaves when the programming computer lets it go for good (see
// VirtualRadio::releasedForGood) or when it is pulled: radio K vanishes after
// it has heard B bytes, in the middle of whatever it was doing. The next
// radio answers once the swap time has passed and the line has heard at
// least one hook request meanwhile, so that whoever watches the line always
// sees the old radio gone, even with no swap time at all. Radio K may also
// have worn EEPROM words that ignore writes, on top of the faults every radio has.

#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "sim/FaultPlan.h"
#include "sim/VirtualRadio.h"

namespace tav::sim {

struct FleetOptions {
    int radios = 1;
    double swapSeconds = 3.0;
    quint32 seed = 1;           // radio K draws its image from seed + K
    std::map<int, long> pulls;  // radio number (from 1) -> bytes it hears before it vanishes
    // Radio number -> EEPROM addresses whose words keep their values (FaultPlan::stuck).
    std::map<int, std::vector<uint16_t>> stuck;
};

class VirtualFleet {
public:
    // `radio` is the radio on the line; it is replaced in place by each next one.
    VirtualFleet(VirtualRadio& radio, const FleetOptions& options);

    // The radio number K on the line (from 1); 0 while none is.
    int current() const { return away_ ? 0 : number_; }
    // Told as radio K leaves, with the reason ("released", "pulled").
    void onLeave(std::function<void(int, const QString&)> tell) { tellLeave_ = std::move(tell); }

    // A byte from the programming computer, at `baud`, sent at `now` seconds.
    void lineIn(uint8_t b, int baud, double now);

    // Radio K's image as it came onto the bench.
    static void prepare(VirtualRadio& radio, quint32 seed, int k);

private:
    // Radio K onto the bench, with its own faults.
    void bringOn(int k);
    void leave(const QString& why, double now);

    VirtualRadio& radio_;
    FleetOptions options_;
    FaultPlan faults_;  // every radio's
    int number_ = 1;
    long heard_ = 0;
    bool away_ = false;
    double leftAt_ = 0;
    bool hookHeard_ = false;
    std::function<void(int, const QString&)> tellLeave_;
};

}  // namespace tav::sim
