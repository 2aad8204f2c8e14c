#pragma once
// The arithmetic of a tuning box's step (Page Up/Down, its arrow buttons):
// the hexadecimal digit under the cursor goes up or down by one, but the
// value never moves by more than MaxInc. Past a limit the value wraps round,
// keeping its lower digits, or stops at the limit and the step is refused.

#include <cstdint>

namespace tav {

struct TuneLimits {
    int32_t min = 0;
    int32_t max = 255;
    bool wrap = false;
    int16_t fixLen = 0;  // digits shown; 0 for free length
    int32_t maxInc = 65535;
};

struct TuneStepResult {
    int32_t value;
    bool refused;  // stopped at a limit: the box beeps
};

// `caret` is the cursor position in the box's text, 0 before the first digit.
TuneStepResult TuneStep(const TuneLimits& limits, int32_t value, int caret, bool up);

}  // namespace tav
