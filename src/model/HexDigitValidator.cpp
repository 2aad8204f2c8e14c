#include "model/HexDigitValidator.h"

#include <algorithm>

#include "model/MGlobals.h"

namespace tav {

HexDigitValidator::HexDigitValidator(int maxDigits, QObject* parent, std::function<void()> refused)
    : QValidator(parent), maxDigits_(maxDigits), refused_(std::move(refused)) {}

QValidator::State HexDigitValidator::validate(QString& input, int&) const {
    if (input.size() > maxDigits_ || !std::all_of(input.cbegin(), input.cend(), IsHexDigit)) {
        if (refused_) refused_();
        return Invalid;
    }
    input = input.toUpper();
    return Acceptable;
}

}  // namespace tav
