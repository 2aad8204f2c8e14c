#pragma once
// The channel guards a technician usually picks from: the 50 standard
// sub-audible tones (67.0 to 254.1 Hz) and the 104 standard digital codes,
// each normal and inverted. Every entry is written as the radio shows it
// ("067.0", "D023", "D023-"), so picking one is the same as typing it.

#include <QStringList>

namespace tav {

// The tones, then the digital codes, each code followed by its inverted form.
const QStringList& StandardGuardCodes();

}  // namespace tav
