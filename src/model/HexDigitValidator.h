#pragma once
// The typing rule of a box for a hexadecimal number: up to a number of
// digits, each one that IsHexDigit accepts, shown in upper case. Anything
// else typed or pasted is refused whole and the box keeps what it had.

#include <QValidator>
#include <functional>

namespace tav {

class HexDigitValidator : public QValidator {
public:
    // `refused` runs for every refused change (the box's beep), when given.
    HexDigitValidator(int maxDigits, QObject* parent, std::function<void()> refused = {});
    State validate(QString& input, int& pos) const override;

private:
    int maxDigits_;
    std::function<void()> refused_;
};

}  // namespace tav
