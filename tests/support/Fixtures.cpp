#include "Fixtures.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include "model/clsWriteDefaults.h"

namespace tav::test {

AppState randomImage(quint32 seed) {
    AppState s;
    QRandomGenerator rng(seed);
    for (auto& b : s.EEImage) b = static_cast<uint8_t>(rng.bounded(256));
    for (auto& b : s.LabelImage) b = static_cast<uint8_t>(rng.bounded(256));
    for (auto& b : s.PowerMask) b = static_cast<uint8_t>(rng.bounded(256));
    return s;
}

AppState defaultImage() {
    AppState s;
    for (int g = 0; g < kGroupCount; ++g) {
        s.NewGroupIndex = static_cast<int16_t>(g);
        clsWriteDefaults(s).WriteGroup();
    }
    s.PowerMask.fill(0xFF);
    s.NewGroupIndex = 0;
    return s;
}

QString entryReason(const QString& key) {
    static const QMap<QString, QString> kReasons{
        {"raster", "not on the 2.5 kHz or 6.25 kHz channel raster"},
        {"band", "outside the band 143 to 174 MHz"},
        {"digits", "too many digits"},
        {"nf", "not a frequency in MHz"},
        {"long", "longer than 8 display cells"},
        {"hex", "\"G\" is not a hexadecimal digit (0 to 9, A to F)"},
        {"hold",
         "the radio cannot hold this frequency (5 kHz steps, or 6.25 kHz and 12.5 kHz offsets)"},
        {"guard",
         "not a channel guard (a tone such as 067.0 below 800 Hz, or a digital code such "
         "as D023 or D023-)"}};
    return kReasons.value(key, '"' + key + "\" is not a character of the radio's display");
}

uint8_t& groupByte(AppState& s, int group, int address) {
    return s.EEImage[std::size_t((group + 1) * kPageSize + address)];
}

uint8_t& byteAt(AppState& s, const ImageBits& bits) {
    const auto i = std::size_t(bits.index);
    return bits.block == ImageBlock::LabelImage  ? s.LabelImage[i]
           : bits.block == ImageBlock::PowerMask ? s.PowerMask[i]
                                                 : s.EEImage[i];
}

AllowedBits& AllowedBits::eeBits(int page, int address, uint8_t mask) {
    return add({ImageBlock::EEImage, page * kPageSize + address, mask});
}

AllowedBits& AllowedBits::labelBits(int group, int slot, int k, uint8_t mask) {
    return add({ImageBlock::LabelImage, AppState::labelIndex(group, slot, k), mask});
}

AllowedBits& AllowedBits::add(const ImageBits& bits) {
    const auto i = std::size_t(bits.index);
    (bits.block == ImageBlock::EEImage      ? ee[i]
     : bits.block == ImageBlock::LabelImage ? label[i]
                                            : power[i]) |= bits.mask;
    return *this;
}

namespace {
template <std::size_t N>
QString firstStrayChange(const char* table, const std::array<uint8_t, N>& before,
                         const std::array<uint8_t, N>& after,
                         const std::array<uint8_t, N>& allowed) {
    for (std::size_t i = 0; i < N; ++i)
        if ((before[i] ^ after[i]) & ~allowed[i] & 0xFF)
            return QStringLiteral("%1[%2]: %3 -> %4 (allowed mask %5)")
                .arg(table, QString::number(i), hexBytes(&before[i], 1), hexBytes(&after[i], 1),
                     hexBytes(&allowed[i], 1));
    return QString();
}
}  // namespace

QString strayChanges(const AppState& before, const AppState& after, const AllowedBits& ok) {
    QString s = firstStrayChange("EEImage", before.EEImage, after.EEImage, ok.ee);
    if (s.isEmpty())
        s = firstStrayChange("LabelImage", before.LabelImage, after.LabelImage, ok.label);
    if (s.isEmpty()) s = firstStrayChange("PowerMask", before.PowerMask, after.PowerMask, ok.power);
    return s;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

sim::FaultPlan faultPlan(const QString& text) {
    sim::FaultPlan plan;
    if (!text.isEmpty() && !sim::FaultPlan::parse(text, plan))
        qFatal("bad fault plan %s", qPrintable(text));
    return plan;
}

QString pdfToText(const QString& pdf, const QStringList& options) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) return {};
    QProcess p;
    p.start(pdftotext, options + QStringList{pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<PdfWord> pdfWords(const QString& pdf, int page) {
    static const QRegularExpression kWord(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    const QString n = QString::number(page);
    QList<PdfWord> words;
    for (const auto& m : kWord.globalMatch(pdfToText(pdf, {"-f", n, "-l", n, "-bbox"}))) {
        QString text = m.captured(4);
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
        words.append(
            {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), text});
    }
    return words;
}

}  // namespace tav::test
