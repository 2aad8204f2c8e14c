#include "model/FrequencyCheck.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstdint>

#include "model/NumberText.h"

namespace tav {

namespace {

constexpr int kMaxTextLength = 10;  // 11 characters and more are refused
constexpr int kMinDecimals = 5;

int64_t pow10(int n) {
    int64_t v = 1;
    while (n-- > 0) v *= 10;
    return v;
}

QString mhzText(const QString& whole, const QString& fraction) {
    return (whole.isEmpty() ? QStringLiteral("0") : whole) +
           (fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction);
}

}  // namespace

GridFrequency CheckGridFrequency(const QString& typed) {
    static const QRegularExpression kNumber(QStringLiteral("^\\+?(\\d*)(?:\\.(\\d*))?$"));
    GridFrequency r;
    const QRegularExpressionMatch m = kNumber.match(typed.trimmed());
    if (!m.hasMatch() || m.capturedLength(1) + m.capturedLength(2) == 0) return r;

    QString whole = m.captured(1);
    QString fraction = m.captured(2);
    while (whole.startsWith(u'0')) whole.remove(0, 1);
    // Scale to MHz: 155025 is 155.025.
    while (whole.size() > 3) {
        fraction.prepend(whole.back());
        whole.chop(1);
    }
    while (fraction.endsWith(u'0')) fraction.chop(1);
    if (mhzText(whole, fraction).size() > kMaxTextLength) {
        r.verdict = GridFrequency::TooLong;
        return r;
    }

    // The value in units of 10^-n MHz, n at least five (10 Hz).
    const int n = std::max<int>(kMinDecimals, int(fraction.size()));
    const int64_t value = (whole + fraction).toLongLong() * pow10(n - int(fraction.size()));
    const int64_t step1 = 25 * pow10(n - 4);   // 2.5 kHz
    const int64_t step2 = 625 * pow10(n - 5);  // 6.25 kHz
    if (value % step1 != 0 && value % step2 != 0) {
        r.verdict = GridFrequency::OffRaster;
        return r;
    }
    if (value == 0) {
        r.verdict = GridFrequency::Zero;
        return r;
    }
    // Those digits read again with at most three before the point: a short
    // entry (15.5, 1.6) lands in the band as 155 or 160 MHz.
    const QString digits = QString::number(value);
    const int decimals = std::max<int>(0, int(digits.size()) - 3);
    QString rescaled = digits.right(decimals);
    while (rescaled.endsWith(u'0')) rescaled.chop(1);
    r.mhz = mhzText(digits.left(digits.size() - decimals), rescaled);
    const bool inBand =
        value >= kBandLowMHz * pow10(decimals) && value <= kBandHighMHz * pow10(decimals);
    r.verdict = inBand ? GridFrequency::Accepted : GridFrequency::OutOfBand;
    return r;
}

GridFrequency CheckGridFrequency(double value) {
    return CheckGridFrequency(ShortestDecimalText(value));
}

}  // namespace tav
