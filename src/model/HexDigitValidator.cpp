#include "model/HexDigitValidator.h"

namespace tav {

HexDigitValidator::HexDigitValidator(int maxDigits, QObject* parent, Refused refused)
    : EntryValidator([maxDigits](const QString& typed) { return CheckHexEntry(typed, maxDigits); },
                     parent, std::move(refused)) {}

}  // namespace tav
