#pragma once
// The typing rule of a box for a hexadecimal number: up to a number of
// digits, each one that IsHexDigit accepts, shown in upper case. Anything
// else typed or pasted is refused whole and the box keeps what it had.

#include "model/EntryRules.h"

namespace tav {

class HexDigitValidator : public EntryValidator {
public:
    // `refused` hears every refused change and why (the box's beep and reason line), when given.
    HexDigitValidator(int maxDigits, QObject* parent, Refused refused = {});
};

}  // namespace tav
