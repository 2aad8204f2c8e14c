#include <QTemporaryDir>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/LabelCode.h"
#include "print/ReportPainter.h"
#include "print/UnitReport.h"

using namespace tav;
using namespace tav::test;

namespace {

// A radio whose every label is empty (all bytes decode to nothing).
AppState blankLabels() {
    AppState s;
    s.LabelImage.fill(0xFF);
    return s;
}

// Address, byte, address, byte, ... of group index g's page.
void setGroupBytes(AppState& s, int g, const QList<int>& addressBytes) {
    for (int i = 0; i + 1 < addressBytes.size(); i += 2)
        groupByte(s, g, addressBytes[i]) = uint8_t(addressBytes[i + 1]);
}

// The index of the nth line starting with `start` (blanks aside), -1 when none.
int indexStartingWith(const QStringList& lines, const QString& start, int nth = 0) {
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].trimmed().startsWith(start) && nth-- == 0) return i;
    return -1;
}
QString lineStartingWith(const QStringList& lines, const QString& start, int nth = 0) {
    return lines.value(indexStartingWith(lines, start, nth));
}

// Texts at their columns, blanks between.
QString placed(const QList<int>& columns, const QStringList& texts) {
    QString line;
    for (int i = 0; i < columns.size(); ++i) line = line.leftJustified(columns[i]) + texts[i];
    return line;
}

}  // namespace

class TestUnitReport : public QObject {
    Q_OBJECT

private slots:
    void titleAndUnitBlock() {
        AppState s;
        s.EEImage[6] = s.EEImage[7] = 0xFF;
        s.EEImage[104] = 0x80;
        s.EEImage[11] = 0x0A, s.EEImage[12] = 0xBC, s.EEImage[13] = 0x01;
        const QString file = QStringLiteral("/home/tech/radio.tav");
        QCOMPARE(BuildUnitReport(s, file).plainLines().mid(0, 7),
                 (QStringList{"", placed({9}, {"TAV Unit Data Printout    " + file}), "",
                              placed({8}, {"Unit Global Data"}),
                              placed({9}, {"DTMF Dev = 5812.5    Front Porch Time = 1020    ANI "
                                           "Rate = 20    Priority Rate = 4"}),
                              placed({9}, {"Global Battery Saver is Inhibited    Display "
                                           "Frequencies Only is Enabled    Per Channel Bandwidth "
                                           "is Enabled"}),
                              placed({9}, {"Bank Scan is Enabled      Unit Password = 0ABC01"})}));
        const QStringList zero = BuildUnitReport(AppState(), {}).plainLines();
        QCOMPARE(zero.at(1) + "|" + zero.at(4).trimmed() + "|" + zero.at(5).trimmed(),
                 placed({9}, {"TAV Unit Data Printout    |DTMF Dev = 0    Front Porch Time = 30    "
                              "ANI Rate = 10    Priority Rate = 0.25|Global Battery Saver is "
                              "Enabled    Display Frequencies Only is Disabled    Per Channel "
                              "Bandwidth is Disabled"}));
    }

    void groupBlockLines() {
        AppState s = blankLabels();
        // Scan hold 1.5, timer 75; mode D, both keys locked, channel 14; override,
        // ANI only, ID 50FA001; saver off, UCG enabled; encode only, UCG channel 15.
        setGroupBytes(s, 0,
                      {2, 0x35, 3, 0x7D, 4, 0xA5, 5, 0x0F, 6, 0xA0, 7, 0x01, 0, 0xC0, 8, 0x8F});
        s.label(0, 15, 7) = 0x95;  // channel change, keypress, timeout 2, alpha on
        s.label(1, 15, 7) = 0x00;
        const QStringList l = BuildUnitReport(s, {}).plainLines();
        QCOMPARE(lineStartingWith(l, "Group 1 Data"), QString(8, ' ') + "Group 1 Data");
        QCOMPARE(lineStartingWith(l, "ANI/ID").mid(9),
                 QString("ANI/ID Number: 50FA001      Group Label:  BLANK! "));
        const QStringList expected{
            "Time Out Timer = 75      Scan Hold Time = 1.5",
            "Priority Channel: 14      Priority Mode: D",
            "Battery Saver: Off      Priority Key: Locked Out      'ENT' & 'CLR' Keys: Locked Out",
            "Busy Channel Indicator: Override      Resident ANI/DTMF: ANI Only",
            "User Code Guard is Enabled      User code Guard Channel: OFF      User Code Guard "
            "Encode Only: Yes",
            "Backlight on Channel Change, Keypress"};
        for (const QString& e : expected) QCOMPARE(lineStartingWith(l, e.left(12)).trimmed(), e);
        const QString alpha = lineStartingWith(l, "Alpha is");
        QVERIFY(alpha.indexOf("Backlight Timeout: 2 seconds") == 34 &&
                alpha.trimmed().startsWith("Alpha is Enabled"));
        QCOMPARE(lineStartingWith(l, "Backlight on", 1).trimmed(), QString("Backlight on nothing"));
    }

    void channelTable() {
        AppState s = blankLabels();
        // Group 2, channel 1: 155.12500 rx, D023- rx guard, 162.40500 tx, 067.0 tx guard.
        setGroupBytes(s, 1,
                      {16, 0xD5, 17, 0x12, 18, 0xC8, 19, 0x13, 20, 0xE2, 21, 0x40, 22, 0x06, 23,
                       0x70, 1, 0x01});                    // scan: channel 1
        s.label(1, 0, 0) = 0x15, s.label(1, 0, 1) = 0x16;  // "A.", "B"
        s.EEImage[39] = 0x01, s.EEImage[38] = 0x20;        // narrow: channels 1 and 14
        s.PowerMask[1] = 0x20;  // power bit: channel 14 on high power, the others low
        const QStringList l = BuildUnitReport(s, {}).plainLines();
        const int heading = indexStartingWith(l, "Chan", 1);
        QCOMPARE(l.at(heading), placed({8, 15, 27, 37, 49, 59, 70, 78, 88},
                                       {"Chan", "Rec Freq", "Rec CG", "Tx Freq", "Tx CG", "Label",
                                        "Scan", "Narrow", "Low Power"}));
        QCOMPARE(l.at(heading + 1),
                 placed({9, 15, 29, 39, 53, 63, 77, 87, 98},
                        {"1", "155.12500", "D023-", "162.40500", "067.0", "A.B", "S", "N", "L"}));
        QCOMPARE(l.at(heading + 14),
                 placed({9, 15, 29, 39, 53, 63, 87},
                        {"14", "none", "000.0", "none", "000.0", "BLANK!", "N"}));
    }

    void eightPagesTwoGroupsEach() {
        const UnitReport r = BuildUnitReport(AppState(), {});
        QCOMPARE(int(r.pages.size()), 8);
        auto groupsOn = [&](int page) {
            QStringList names;
            for (const ReportLine& line : r.pages[size_t(page)])
                if (line.plainText().trimmed().startsWith("Group "))
                    names << line.plainText().trimmed();
            return names;
        };
        QCOMPARE(groupsOn(0) + groupsOn(1) + groupsOn(7),
                 (QStringList{"Group 1 Data", "Group 2 Data", "Group 3 Data", "Group 14 Data",
                              "Group 15 Data"}));
        QVERIFY(r.pages[1].at(0).pieces.empty() && r.pages[1].at(1).pieces.empty());
    }

    // A label wider than its column pushes the scan flag on, a blank's width
    // after it; the next field stays at its tab stop.
    void wideLabelKeepsABlankBeforeTheScanFlag() {
        for (const char* text : {"8<.Q.U.>.9AL.", "WWWWWWWW", "8.8.8.8.8.8.8.8."}) {
            const QString label = text;
            AppState s = blankLabels();
            s.PowerMask.fill(0xFF);  // high power: nothing after the narrow flag
            QString rest = label;
            for (int k = 0; k < 8; ++k) s.label(0, 0, k) = strLabToByte(rest);
            groupByte(s, 0, 1) = 0x03;  // scan: channels 1 and 2
            s.EEImage[37] = 0x03;       // narrow: channels 1 and 2
            const UnitReport report = BuildUnitReport(s, {});
            const QString first = lineStartingWith(report.plainLines(), "1 ");
            QVERIFY2(
                first.contains(QRegularExpression(QRegularExpression::escape(label) + " +S +N$")),
                qPrintable(first));
            QTemporaryDir dir;
            const QString pdf = dir.filePath("report.pdf");
            QVERIFY(writeFile(pdf, UnitReportPdf(report)));
            const QList<PdfWord> words = pdfWords(pdf);
            if (words.isEmpty()) QSKIP("pdftotext is not installed");
            const auto find = [&](const QString& text, int nth) {
                for (const PdfWord& w : words)
                    if (w.text == text && nth-- == 0) return w;
                return PdfWord{};
            };
            const PdfWord printed = find(label, 0), scan = find("S", 0), narrow = find("N", 0);
            QCOMPARE(printed.text, label);     // not run together with the flag
            const double blank = 10 * 0.2778;  // Arial's blank at 10 points
            QVERIFY2(scan.xMin - printed.xMax >= blank - 0.1,
                     qPrintable(QString::number(scan.xMin - printed.xMax)));
            QVERIFY(qAbs(scan.yMin - printed.yMin) < 0.5);
            // Channel 2's fields, with its empty label, are where they always were.
            QVERIFY(find("S", 1).xMin < scan.xMin);
            QCOMPARE(narrow.xMin, find("N", 1).xMin);
        }
    }
};

TAV_TEST(TestUnitReport);
#include "tst_unitreport.moc"
