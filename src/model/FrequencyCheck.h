#pragma once
// The check of a typed frequency, for the channel grid and the CSV import
// alike: the radio's channel raster (2.5 kHz or 6.25 kHz) and its band (143 to
// 174 MHz). A number of 1000 or more is read as kHz or Hz (155025 is 155.025);
// once on the raster, the digits are read again with three before the point,
// so that a short entry such as 15.5 or 1.6 means 155 or 160 MHz. Worked in
// decimal digits, so that no binary rounding can turn a frequency on the
// raster into one off it.

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
// A value as the grid holds it, checked by its shortest decimal text.
GridFrequency CheckGridFrequency(double value);

// Band limits in MHz, inclusive.
constexpr int kBandLowMHz = 143;
constexpr int kBandHighMHz = 174;

}  // namespace tav
