#include "model/NumberText.h"

#include <cmath>
#include <limits>

namespace tav {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Index just past a run of ASCII digits starting at i.
qsizetype skipDigits(const QString& t, qsizetype i) {
    while (i < t.size() && isDigit(t[i])) ++i;
    return i;
}

qsizetype skipSign(const QString& t, qsizetype i) {
    return (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ? i + 1 : i;
}

}  // namespace

double LeadingNumber(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace()) ++start;
    qsizetype i = skipSign(text, start);
    const qsizetype intStart = i;
    i = skipDigits(text, i);
    bool anyDigit = i > intStart;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fracEnd = skipDigits(text, i + 1);
        anyDigit = anyDigit || fracEnd > i + 1;
        i = fracEnd;
    }
    if (!anyDigit) return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        const qsizetype expDigits = skipSign(text, i + 1);
        const qsizetype expEnd = skipDigits(text, expDigits);
        if (expEnd > expDigits) i = expEnd;  // an "e" without digits is not part of the number
    }
    // QString's own conversion is locale-independent ("C" locale).
    const QStringView number = QStringView(text).mid(start, i - start);
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (ok) return v;
    // The only way a well-formed number fails is overflow or underflow.
    const bool negative = number.startsWith(u'-');
    if (v == 0.0 && number.contains(QLatin1String("e-"), Qt::CaseInsensitive)) return 0.0;
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
}

QString HexByteText(int byte) {
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

QString ShortestDecimalText(double value) {
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

}  // namespace tav
