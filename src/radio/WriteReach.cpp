#include "radio/WriteReach.h"

#include <algorithm>

#include "model/MemoryMap.h"
#include "radio/clsTavCom.h"

namespace tav {

namespace {

RadioReach maskedPages(const clsTavCom& link, bool skipGlobal, bool labels, bool everyGroupPage) {
    RadioReach reach;
    reach.labels = labels;
    reach.eepromBits.assign(kEEPromSize, 0);
    const AppState& s = link.context().state;
    for (int page = skipGlobal ? 1 : 0; page < kPageCount; ++page) {
        if (page > 0 && !everyGroupPage && !link.pageWritable(page)) continue;
        const auto& mask = page == 0 ? s.GlobalWriteMask : s.GroupWriteMask;
        std::copy(mask.begin(), mask.end(), reach.eepromBits.begin() + page * kPageSize);
    }
    return reach;
}

}  // namespace

RadioReach WrittenReach(const clsTavCom& link, bool skipGlobal, bool labels) {
    return maskedPages(link, skipGlobal, labels, false);
}

RadioReach FileReach(const clsTavCom& link, bool skipGlobal, bool labels) {
    RadioReach reach = maskedPages(link, skipGlobal, labels, true);
    // The narrow bits are the file's even where the radio has no place for
    // them (its masks then kept them out): one the radio does not hold is a difference.
    std::fill_n(reach.eepromBits.begin() + kBandwidthStart, kBandwidthCount, uint8_t{0xFF});
    // Power words the write put in a page the radio keeps no channels in are
    // compared as the power mask, not as channel data.
    for (int a = 0; a < kEEPromSize; ++a)
        if (link.putOutsidePages(a)) reach.eepromBits[a] = 0;
    return reach;
}

}  // namespace tav
