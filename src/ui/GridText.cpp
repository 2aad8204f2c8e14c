#include "ui/GridText.h"

#include <cmath>
#include <cstdint>

namespace tav::grid {

QStringList columnCaptions() {
    return {QStringLiteral("Chan"),    QStringLiteral("Rec Freq"), QStringLiteral("Rec CG"),
            QStringLiteral("Tx Freq"), QStringLiteral("Tx CG"),    QStringLiteral("Ch Label")};
}

std::optional<double> numericValue(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);  // QString::toDouble always uses the C locale
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

double valueOf(const QString& text) {
    return numericValue(text).value_or(0.0);
}

namespace {
QString zeroPadded(double value, int intDigits, int decimals) {
    QString s = QString::number(std::fabs(value), 'f', decimals);
    const int width = intDigits + 1 + decimals;
    if (s.size() < width) s.prepend(QString(width - s.size(), QLatin1Char('0')));
    return value < 0 ? QLatin1Char('-') + s : s;
}
}  // namespace

QString formatNumber(int column, double value) {
    if (column == RecFreq || column == TxFreq) return zeroPadded(value, 3, 5);
    if (column == RecCG || column == TxCG) return zeroPadded(value, 3, 1);
    return shortestText(value);
}

QString shortestText(double value) {
    QString s = QString::number(value, 'g', 15);
    if (!s.contains(QLatin1Char('e'))) return s;
    // Very small or large values: write them out in plain digits.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    s = QString::number(value, 'f', std::max(0, 14 - exponent));
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    return s;
}

FreqCheck checkFrequency(double value) {
    while (value >= 1000) value /= 10;
    const QString s = shortestText(value);
    if (s.size() >= 11) return {FreqVerdict::Refuse, value};

    // Scale to whole numbers with at least five decimals shifted in, exactly,
    // from the decimal text rather than by repeated floating multiplication.
    QString digits = s;
    if (digits.startsWith(QLatin1Char('-'))) digits.remove(0, 1);
    const int point = digits.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : static_cast<int>(digits.size()) - point - 1;
    if (point >= 0) digits.remove(point, 1);
    const int shift = std::max(5, decimals);
    int64_t scaled = digits.toLongLong();
    for (int i = decimals; i < shift; ++i) scaled *= 10;
    int64_t step1 = 25, step2 = 625;  // 0.0025 and 0.00625 MHz, scaled by 10^4 and 10^5
    for (int i = 4; i < shift; ++i) step1 *= 10;
    for (int i = 5; i < shift; ++i) step2 *= 10;
    if (scaled % step1 != 0 && scaled % step2 != 0) return {FreqVerdict::Refuse, value};
    if (scaled == 0) return {FreqVerdict::LeaveAsTyped, 0.0};
    if (value >= 143 && value <= 174) return {FreqVerdict::Accept, value};
    return {FreqVerdict::Refuse, value};
}

QString rowText(const RowFields& row) {
    QStringList fields(row.cells.begin(), row.cells.end());
    fields << QString::number(row.scan) << QString::number(row.narrow)
           << QString::number(row.loPower);
    return fields.join(QLatin1Char('\t')) + QLatin1Char('\r');
}

RowFields splitRow(const QString& line) {
    RowFields row;
    QStringList fields = line.split(QLatin1Char('\t'));
    while (fields.size() < 9) fields << QString();
    for (int i = 0; i < kColumns; ++i) row.cells[i] = fields[i];
    // The ninth field takes whatever follows the eighth Tab.
    const QString last = fields.mid(8).join(QLatin1Char('\t'));
    row.scan = static_cast<int>(valueOf(fields[6]));
    row.narrow = static_cast<int>(valueOf(fields[7]));
    row.loPower = static_cast<int>(valueOf(last));
    return row;
}

bool hasRowShape(const QString& text, int rows) {
    if (!text.endsWith(QLatin1Char('\r'))) return false;
    const QStringList lines = text.left(text.size() - 1).split(QLatin1Char('\r'));
    if (lines.size() != rows) return false;
    const QStringList checkValues{QStringLiteral("0"), QStringLiteral("1")};
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 9 || line.contains(QLatin1Char('\n'))) return false;
        for (int i = 6; i < 9; ++i)
            if (!checkValues.contains(fields[i])) return false;
    }
    return true;
}

QString pastedCellText(int column, const QString& field) {
    if (column == ChLabel) return field;
    if (!field.isEmpty() && field.at(0) >= QLatin1Char('D')) return field;
    return formatNumber(column, valueOf(field));
}

}  // namespace tav::grid
