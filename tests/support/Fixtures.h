#pragma once
// Shared fixtures: radio images, the stray-bit check, whole files, fault plans, PDF text.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "model/AppState.h"
#include "model/RadioFields.h"
#include "sim/FaultPlan.h"

namespace tav::test {

// Every byte of the three tables drawn from `seed`.
AppState randomImage(quint32 seed);
// What the editor holds at start-up: every group filled with its defaults,
// every channel on high power.
AppState defaultImage();
// Byte `address` of group index `group`'s page.
uint8_t& groupByte(AppState& s, int group, int address);
// The byte `bits` names (its mask is not applied).
uint8_t& byteAt(AppState& s, const ImageBits& bits);
// `n` bytes from `p` as upper-case hex, e.g. "A5A0".
inline QByteArray hexBytes(const uint8_t* p, int n) {
    return QByteArray(reinterpret_cast<const char*>(p), n).toHex().toUpper();
}

// The bits an operation may change, per byte of each table.
struct AllowedBits {
    std::array<uint8_t, kEEImageSize> ee{};
    std::array<uint8_t, kLabelImageSize> label{};
    std::array<uint8_t, kPowerMaskSize> power{};

    AllowedBits& eeBits(int page, int address, uint8_t mask);
    AllowedBits& labelBits(int group, int slot, int k, uint8_t mask);
    AllowedBits& add(const ImageBits& bits);
};
// Empty when every change lies inside the allowed bits; else the first stray one.
QString strayChanges(const AppState& before, const AppState& after, const AllowedBits& ok);

// The entry rules' reason for a short key: "hold", "raster", "band", "digits",
// "nf" (not a frequency), "guard", "long" (label), or a character the display
// lacks ("~").
QString entryReason(const QString& key);

// The whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);
// Replaces the file's content; false when it cannot be written.
bool writeFile(const QString& path, const QByteArray& bytes);

// A fault plan from its text form (empty: no fault); a bad text ends the test program.
sim::FaultPlan faultPlan(const QString& text);

// What pdftotext makes of a PDF with these options; null when it is not installed.
QString pdfToText(const QString& pdf, const QStringList& options = {QStringLiteral("-layout")});
// A word printed on one page and its box, in points.
struct PdfWord {
    double xMin = 0, yMin = 0, xMax = 0;
    QString text;
};
// Empty when pdftotext is not installed.
QList<PdfWord> pdfWords(const QString& pdf, int page = 1);

}  // namespace tav::test
