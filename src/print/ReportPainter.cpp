#include "print/ReportPainter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace tav {

namespace {

QFont fontFor(ReportStyle style) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    switch (style) {
        case ReportStyle::Title:
            f.setPointSizeF(16);
            f.setBold(true);
            break;
        case ReportStyle::Heading:
            f.setPointSizeF(12);
            f.setBold(true);
            break;
        case ReportStyle::BodyBold:
            f.setPointSizeF(10);
            f.setBold(true);
            break;
        case ReportStyle::Body:
            f.setPointSizeF(10);
            break;
    }
    return f;
}

// The classic "average character width" of a font: the advance of the
// lower-case letters and the blank, weighted by how often they occur in
// English text. Fonts made to Arial's measures give Arial's figure (0.441 em)
// with it, where a newer font file's own average over all its glyphs would
// be much wider and push the table columns off the paper.
double averageCharWidth(const QFontMetricsF& fm) {
    static constexpr struct {
        char c;
        int weight;
    } kWeights[] = {{'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14},
                    {'h', 42}, {'i', 63}, {'j', 3},  {'k', 6},  {'l', 35},  {'m', 20}, {'n', 56},
                    {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49}, {'s', 56},  {'t', 71}, {'u', 31},
                    {'v', 10}, {'w', 18}, {'x', 3},  {'y', 18}, {'z', 2},   {' ', 166}};
    double sum = 0;
    for (const auto& w : kWeights) sum += fm.horizontalAdvance(QChar(w.c)) * w.weight;
    return sum / 1000.0;
}

// Length of the longest start of `text` that fits in `room`, broken after a
// path separator, blank or dash when there is one; 0 when nothing fits.
qsizetype fittingLength(const QString& text, const QFontMetricsF& fm, double room) {
    if (fm.horizontalAdvance(text) <= room) return text.size();
    qsizetype fits = 0;
    while (fits < text.size() && fm.horizontalAdvance(text.left(fits + 1)) <= room) ++fits;
    for (qsizetype k = fits; k > 1; --k) {
        const QChar c = text.at(k - 1);
        if (c == u'/' || c == u'\\' || c == u' ' || c == u'-') return k;
    }
    return fits;
}

class LinePrinter {
public:
    LinePrinter(QPainter& painter, QPagedPaintDevice& device) : p_(painter), device_(device) {}

    // Pieces start at their tab stops, but never closer than a blank's width
    // to the text before them: a label wider than its column would otherwise
    // run into the scan flag and read as part of it. A piece too long for the
    // paper (a deep file path in the title) carries on below, from its own
    // tab stop.
    void print(const ReportLine& line) {
        const QFont font = fontFor(line.style);
        p_.setFont(font);
        const QFontMetricsF fm(font, &device_);
        const double column = averageCharWidth(fm);
        const double blank = fm.horizontalAdvance(QLatin1Char(' '));
        const double width = paintRect().width();
        double baseline = beginLine(fm);
        double x = 0;
        double fieldFrom = 0;  // a blank past the end of the last text on this line
        for (const ReportPiece& piece : line.pieces) {
            if (piece.tab > 0) x = std::max({x, (piece.tab - 1) * column, fieldFrom});
            const double indent = x < width / 2 ? x : 0;
            QString rest = piece.text;
            while (!rest.isEmpty()) {
                qsizetype n = fittingLength(rest, fm, width - x);
                if (n == 0 && x > indent) {  // nothing fits after what is there: next line
                    endLine(fm);
                    baseline = beginLine(fm);
                    x = indent;
                    fieldFrom = 0;
                    continue;
                }
                n = std::max<qsizetype>(n, 1);  // a lone glyph wider than the paper
                p_.drawText(QPointF(x, baseline), rest.left(n));
                x += fm.horizontalAdvance(rest.left(n));
                fieldFrom = x + blank;
                rest.remove(0, n);
                if (!rest.isEmpty()) x = width;  // continue below
            }
        }
        endLine(fm);
    }

    bool newPage() {
        y_ = 0;
        return device_.newPage();
    }

private:
    // Baseline of a new line, on a fresh page when this one is full.
    double beginLine(const QFontMetricsF& fm) {
        if (y_ + fm.height() > paintRect().height() && y_ > 0) newPage();
        return y_ + fm.ascent();
    }
    void endLine(const QFontMetricsF& fm) { y_ += fm.lineSpacing(); }

    QRectF paintRect() const { return device_.pageLayout().paintRectPixels(device_.logicalDpiY()); }

    QPainter& p_;
    QPagedPaintDevice& device_;
    double y_ = 0;
};

}  // namespace

QMarginsF ReportMarginsMm() {
    return {10, 10, 10, 10};
}

bool PaintUnitReport(const UnitReport& report, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    LinePrinter printer(painter, device);
    bool first = true;
    for (const ReportPage& page : report.pages) {
        if (!first && !printer.newPage()) return false;
        first = false;
        for (const ReportLine& line : page) printer.print(line);
    }
    return painter.end();
}

QByteArray UnitReportPdf(const UnitReport& report) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
        writer.setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                                         QPageLayout::Portrait, ReportMarginsMm(),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("TAV Unit Data Printout"));
        writer.setCreator(QStringLiteral("TAV Editor"));
        if (!PaintUnitReport(report, writer)) return {};
    }
    return pdf.data();
}

}  // namespace tav
