#include "model/CompareReport.h"

#include <QMap>
#include <QRegularExpression>

namespace tav {

namespace {

// The place a difference line names: 0 the unit, 1 to 15 a group, 16 a byte
// that no field decodes.
int placeOf(const QString& line) {
    static const QRegularExpression kGroup(QStringLiteral("^group (\\d+) "));
    if (line.startsWith(QLatin1String("unit "))) return 0;
    const QRegularExpressionMatch m = kGroup.match(line);
    return m.hasMatch() ? m.captured(1).toInt() : 16;
}

QString placeName(int place) {
    if (place == 0) return QStringLiteral("unit");
    if (place == 16) return QStringLiteral("bytes outside the fields");
    return QStringLiteral("group %1").arg(place);
}

}  // namespace

QString NoDifferencesText() {
    return QStringLiteral("The radio holds what the editor shows.");
}

QStringList CompareHeaderLines(const CompareHeader& header) {
    return {QStringLiteral("File: ") +
                (header.file.isEmpty() ? QStringLiteral("(unsaved image)") : header.file),
            QStringLiteral("Radio: ") + header.radio,
            QStringLiteral("Date: ") + header.when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))};
}

QStringList DifferenceCountLines(const QStringList& differences) {
    QMap<int, int> counts;
    for (const QString& line : differences) ++counts[placeOf(line)];
    QStringList lines{QStringLiteral("Differences: %1").arg(differences.size())};
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        lines << QStringLiteral("  %1: %2").arg(placeName(it.key())).arg(it.value());
    return lines;
}

QString CompareReportText(const CompareHeader& header, const QStringList& differences) {
    const QStringList lines =
        CompareHeaderLines(header) + DifferenceCountLines(differences) + QStringList{QString()} +
        (differences.isEmpty() ? QStringList{NoDifferencesText()} : differences);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace tav
