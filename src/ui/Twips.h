#pragma once
// Window positions are kept in twips (1440 to the inch) in the settings; the
// desktop is laid out in device-independent pixels of 1/96 inch.

#include <cmath>

namespace tav {

constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline double pixelsToTwips(int pixels) {
    return double(pixels) * kTwipsPerPixel;
}

}  // namespace tav
