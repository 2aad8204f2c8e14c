#include "model/TuneStep.h"

#include <algorithm>
#include <limits>

namespace tav {

namespace {

// Smallest multiple of s that covers the distance d (d > 0, s > 0).
int64_t stepsCovering(int64_t d, int64_t s) {
    return (d + s - 1) / s * s;
}

int64_t stepSize(const TuneLimits& l, int caret) {
    int64_t s = 1;
    for (int i = caret; i < l.fixLen - 1 && s <= l.maxInc; ++i) s *= 16;
    return std::max<int64_t>(1, std::min<int64_t>(s, l.maxInc));
}

}  // namespace

TuneStepResult TuneStep(const TuneLimits& l, int32_t value, int caret, bool up) {
    const int64_t s = stepSize(l, caret);
    const int64_t low = s - 1;
    const int64_t high = 65535 - low;
    int64_t v = int64_t{value} + (up ? s : -s);
    bool refused = false;
    if (up && v > l.max) {
        if (l.wrap) {
            v = (v & low) + (l.min & high);
            if (v < l.min) v += stepsCovering(l.min - v, s);
        } else {
            v = l.max;
            refused = true;
        }
    } else if (!up && v < l.min) {
        if (l.wrap) {
            v = (v & low) + (l.max & high);
            if (v > l.max) v -= stepsCovering(v - l.max, s);
        } else {
            v = l.min;
            refused = true;
        }
    }
    v = std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                            std::numeric_limits<int32_t>::max());
    return {static_cast<int32_t>(v), refused};
}

}  // namespace tav
