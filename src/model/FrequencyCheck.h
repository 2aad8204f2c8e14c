#pragma once
// The channel grid's check of a typed frequency: the radio's channel raster
// (2.5 kHz or 6.25 kHz) and its band (143 to 174 MHz). A typed 155025 is read
// as 155.025. Worked in decimal digits, so that no binary rounding can turn a
// frequency on the raster into one off it.

#include <QString>

namespace tav {

struct GridFrequency {
    enum Verdict {
        Accepted,    // on the raster and in the band: `mhz` holds the value to show
        Zero,        // 0: the cell is left as typed
        NotNumeric,  // not a plain decimal number
        TooLong,     // ten or more characters once scaled to MHz
        OffRaster,   // neither a multiple of 2.5 kHz nor of 6.25 kHz
        OutOfBand,   // outside 143 to 174 MHz
    };
    Verdict verdict = NotNumeric;
    QString mhz;  // shortest decimal text in MHz, e.g. "155.025"
};

GridFrequency CheckGridFrequency(const QString& typed);

// Band limits in MHz, inclusive.
constexpr int kBandLowMHz = 143;
constexpr int kBandHighMHz = 174;

}  // namespace tav
