#include "print/ReportPainter.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace tav {

namespace {

QFont fontFor(ReportStyle style) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    switch (style) {
        case ReportStyle::Title: f.setPointSizeF(16); f.setBold(true); break;
        case ReportStyle::Heading: f.setPointSizeF(12); f.setBold(true); break;
        case ReportStyle::BodyBold: f.setPointSizeF(10); f.setBold(true); break;
        case ReportStyle::Body: f.setPointSizeF(10); break;
    }
    return f;
}

class LinePrinter {
public:
    LinePrinter(QPainter& painter, QPagedPaintDevice& device) : p_(painter), device_(device) {}

    void print(const ReportLine& line) {
        const QFont font = fontFor(line.style);
        p_.setFont(font);
        const QFontMetricsF fm(font, &device_);
        if (y_ + fm.lineSpacing() > pageHeight() && y_ > 0) newPage();
        const double baseline = y_ + fm.ascent();
        const double column = fm.averageCharWidth();
        double x = 0;
        for (const ReportPiece& piece : line.pieces) {
            if (piece.tab > 0) x = std::max(x, (piece.tab - 1) * column);
            p_.drawText(QPointF(x, baseline), piece.text);
            x += fm.horizontalAdvance(piece.text);
        }
        y_ += fm.lineSpacing();
    }

    bool newPage() {
        y_ = 0;
        return device_.newPage();
    }

private:
    double pageHeight() const {
        return device_.pageLayout().paintRectPixels(device_.logicalDpiY()).height();
    }

    QPainter& p_;
    QPagedPaintDevice& device_;
    double y_ = 0;
};

}  // namespace

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

bool WriteUnitReportPdf(const UnitReport& report, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
        writer.setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                                         QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("TAV Unit Data Printout"));
        writer.setCreator(QStringLiteral("TAV Editor"));
        if (!PaintUnitReport(report, writer)) {
            if (error) *error = QStringLiteral("The report could not be drawn.");
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace tav
