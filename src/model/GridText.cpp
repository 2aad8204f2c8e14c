#include "model/GridText.h"

#include <cmath>

#include "model/NumberText.h"

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
    return ShortestDecimalText(value);
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
