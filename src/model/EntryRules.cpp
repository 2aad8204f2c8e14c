#include "model/EntryRules.h"

#include <QRegularExpression>

#include "model/FrequencyCheck.h"
#include "model/LabelCode.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"

namespace tav {

namespace {

EntryVerdict accepted(const QString& normalized) {
    return {true, normalized, QString()};
}

EntryVerdict refused(const QString& reason) {
    return {false, QString(), reason};
}

// The codecs' own texts for "no value".
bool meansNone(const QString& trimmed) {
    return trimmed.isEmpty() || trimmed.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0;
}

QString frequencyProblem(GridFrequency::Verdict verdict) {
    switch (verdict) {
        case GridFrequency::NotNumeric:
            return QStringLiteral("not a frequency in MHz");
        case GridFrequency::TooLong:
            return QStringLiteral("too many digits");
        case GridFrequency::OffRaster:
            return QStringLiteral("not on the 2.5 kHz or 6.25 kHz channel raster");
        case GridFrequency::OutOfBand:
            return QStringLiteral("outside the band %1 to %2 MHz")
                .arg(kBandLowMHz)
                .arg(kBandHighMHz);
        case GridFrequency::Accepted:
        case GridFrequency::Zero:
            break;
    }
    return QString();
}

}  // namespace

EntryVerdict CheckFrequencyEntry(const QString& typed) {
    static const QString kNone = QStringLiteral("none");
    const QString t = typed.trimmed();
    if (meansNone(t)) return accepted(kNone);
    const GridFrequency f = CheckGridFrequency(t);
    if (f.verdict == GridFrequency::Zero) return accepted(kNone);
    if (f.verdict != GridFrequency::Accepted) return refused(frequencyProblem(f.verdict));
    // The grid's raster has 2.5 kHz steps the bytes do not: they hold 5 kHz
    // steps and the 6.25 kHz and 12.5 kHz offsets of their escape codes.
    uint8_t b1 = 0, b2 = 0;
    if (!FreqTextToBytes(f.mhz, b1, b2))
        return refused(
            QStringLiteral("the radio cannot hold this frequency (5 kHz steps, or 6.25 kHz and "
                           "12.5 kHz offsets)"));
    return accepted(FreqBytesToText(b1, b2));
}

EntryVerdict CheckGuardEntry(const QString& typed) {
    static const QRegularExpression kDigital(QStringLiteral("^[Dd][0-7]{3}-?$"));
    static const QRegularExpression kTone(QStringLiteral("^\\d{1,3}(\\.\\d)?$"));
    const QString t = typed.trimmed();
    const QString text = meansNone(t) ? QStringLiteral("0") : t;
    // From 800 Hz up the first byte's top bit is set and the radio reads a digital code.
    const bool ok = kDigital.match(text).hasMatch() ||
                    (kTone.match(text).hasMatch() && text.toDouble() < 800.0);
    uint8_t h = 0, l = 0;
    if (!ok || !CGTextToBytes(text, h, l))
        return refused(
            QStringLiteral("not a channel guard (a tone such as 067.0 below 800 Hz, or a "
                           "digital code such as D023 or D023-)"));
    return accepted(CGBytesToText(l, h));
}

EntryVerdict CheckLabelEntry(const QString& typed) {
    const QString problem = LabelTextProblem(typed);
    if (!problem.isEmpty()) return refused(problem);
    QString rest = typed;
    QString shown;
    while (!rest.isEmpty()) shown += strByteToChar(strLabToByte(rest));
    return accepted(shown);
}

EntryVerdict CheckHexEntry(const QString& typed, int maxDigits) {
    for (const QChar c : typed)
        if (!IsHexDigit(c))
            return refused(
                QStringLiteral("\"%1\" is not a hexadecimal digit (0 to 9, A to F)").arg(c));
    if (typed.size() > maxDigits)
        return refused(QStringLiteral("longer than %1 hexadecimal digits").arg(maxDigits));
    return accepted(typed.toUpper());
}

QString RefusalText(const QString& field, const QString& typed, const QString& reason) {
    return QStringLiteral("%1 \"%2\": %3").arg(field, typed, reason);
}

EntryValidator::EntryValidator(Rule rule, QObject* parent, Refused refused)
    : QValidator(parent), rule_(std::move(rule)), refused_(std::move(refused)) {}

QValidator::State EntryValidator::validate(QString& input, int&) const {
    const EntryVerdict v = rule_(input);
    if (!v.ok) {
        if (refused_) refused_(input, v.reason);
        return Invalid;
    }
    input = v.normalized;
    return Acceptable;
}

}  // namespace tav
