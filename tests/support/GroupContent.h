#pragma once
// A group's bytes wherever the radio keeps them, read by the radio's own
// addresses, to follow a group through a move.

#include <QByteArray>

#include "model/AppState.h"

namespace tav::test {

// Everything of group number n (1..15), as hex: its page, its narrow-band
// pair in page 0, its 16 label slots (channel labels, group label, backlight
// byte) and its power pair.
QByteArray groupContent(const AppState& s, int n);
// What belongs to no group: page 0 but for the narrow-band pairs, element
// 2048, the label table's sixteenth column.
QByteArray outsideGroups(const AppState& s);

}  // namespace tav::test
