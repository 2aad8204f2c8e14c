#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "print/ReportPainter.h"
#include "print/UnitReport.h"

using namespace tav;

namespace {

uint8_t& groupByte(AppState& s, int g, int a) { return s.EEImage[(g + 1) * 128 + a]; }

// A radio whose every label is empty (all bytes decode to nothing).
AppState blankLabels() {
    AppState s;
    s.LabelImage.fill(0xFF);
    return s;
}

int indexStartingWith(const QStringList& lines, const QString& start, int nth = 0) {
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].trimmed().startsWith(start) && nth-- == 0) return i;
    return -1;
}

QString lineStartingWith(const QStringList& lines, const QString& start, int nth = 0) {
    return lines.value(indexStartingWith(lines, start, nth));
}

}  // namespace

class TestUnitReport : public QObject {
    Q_OBJECT

private slots:
    void titleShowsThePrintFileName_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("no file yet") << QString();
        QTest::newRow("file") << "/home/tech/radio.tav";
    }
    void titleShowsThePrintFileName() {
        QFETCH(QString, file);
        const QStringList lines = BuildUnitReport(AppState(), file).plainLines();
        QCOMPARE(lines.at(0), QString());
        QCOMPARE(lines.at(1), QString(9, ' ') + "TAV Unit Data Printout    " + file);
        QCOMPARE(lines.at(2), QString());
    }

    void unitBlockDecodesEveryField() {
        AppState s;
        s.EEImage[6] = 0xFF;
        s.EEImage[7] = 0xFF;
        s.EEImage[104] = 0x80;
        s.EEImage[11] = 0x0A;
        s.EEImage[12] = 0xBC;
        s.EEImage[13] = 0x01;
        const QStringList lines = BuildUnitReport(s, {}).plainLines();
        QCOMPARE(lines.at(3), QString(8, ' ') + "Unit Global Data");
        QCOMPARE(lines.at(4), QString(9, ' ') +
                                  "DTMF Dev = 5812.5    Front Porch Time = 1020    ANI Rate = 20"
                                  "    Priority Rate = 4");
        QCOMPARE(lines.at(5), QString(9, ' ') +
                                  "Global Battery Saver is Inhibited    Display Frequencies Only is"
                                  " Enabled    Per Channel Bandwidth is Enabled");
        QCOMPARE(lines.at(6), QString(9, ' ') + "Bank Scan is Enabled      Unit Password = 0ABC01");

        const QStringList zero = BuildUnitReport(AppState(), {}).plainLines();
        QCOMPARE(zero.at(4).trimmed(),
                 QString("DTMF Dev = 0    Front Porch Time = 30    ANI Rate = 10    Priority Rate = 0.25"));
        QCOMPARE(zero.at(5).trimmed(),
                 QString("Global Battery Saver is Enabled    Display Frequencies Only is Disabled"
                         "    Per Channel Bandwidth is Disabled"));
    }

    void groupBlockLines() {
        AppState s = blankLabels();
        groupByte(s, 0, 2) = 0x35;
        groupByte(s, 0, 3) = 0x7D;  // mode D, key locked, ENT/CLR locked, channel 14
        groupByte(s, 0, 4) = 0xA5;  // override, ANI only, ID digit 5
        groupByte(s, 0, 5) = 0x0F;
        groupByte(s, 0, 6) = 0xA0;
        groupByte(s, 0, 7) = 0x01;
        groupByte(s, 0, 0) = 0xC0;
        groupByte(s, 0, 8) = 0x8F;
        s.label(0, 15, 7) = 0x95;  // channel change, keypress, timeout 2, alpha on
        s.label(1, 15, 7) = 0x00;
        const QStringList l = BuildUnitReport(s, {}).plainLines();
        QCOMPARE(lineStartingWith(l, "Group 1 Data"), QString(8, ' ') + "Group 1 Data");
        QCOMPARE(lineStartingWith(l, "ANI/ID").mid(9),
                 QString("ANI/ID Number: 50FA001      Group Label:  BLANK! "));
        QCOMPARE(lineStartingWith(l, "Time Out").trimmed(),
                 QString("Time Out Timer = 75      Scan Hold Time = 1.5"));
        QCOMPARE(lineStartingWith(l, "Priority Channel").trimmed(),
                 QString("Priority Channel: 14      Priority Mode: D"));
        QCOMPARE(lineStartingWith(l, "Battery Saver").trimmed(),
                 QString("Battery Saver: Off      Priority Key: Locked Out      'ENT' & 'CLR' Keys: "
                         "Locked Out"));
        QCOMPARE(lineStartingWith(l, "Busy Channel").trimmed(),
                 QString("Busy Channel Indicator: Override      Resident ANI/DTMF: ANI Only"));
        QCOMPARE(lineStartingWith(l, "User Code Guard").trimmed(),
                 QString("User Code Guard is Enabled      User code Guard Channel: OFF      User Code "
                         "Guard Encode Only: Yes"));
        const QString alpha = lineStartingWith(l, "Alpha is");
        QCOMPARE(alpha.indexOf("Backlight Timeout: 2 seconds"), 34);
        QCOMPARE(alpha.trimmed().left(16), QString("Alpha is Enabled"));
        QCOMPARE(lineStartingWith(l, "Backlight on").trimmed(),
                 QString("Backlight on Channel Change, Keypress"));
        QCOMPARE(lineStartingWith(l, "Backlight on", 1).trimmed(), QString("Backlight on nothing"));
    }

    void channelTable() {
        AppState s = blankLabels();
        // Group 2, channel 1: 155.12500 rx, D023- rx guard, 162.40500 tx, 067.0 tx guard.
        const int g = 1, a = 16;
        groupByte(s, g, a) = 0xD5;
        groupByte(s, g, a + 1) = 0x12;
        groupByte(s, g, a + 2) = 0xC8;
        groupByte(s, g, a + 3) = 0x13;
        groupByte(s, g, a + 4) = 0xE2;
        groupByte(s, g, a + 5) = 0x40;
        groupByte(s, g, a + 6) = 0x06;
        groupByte(s, g, a + 7) = 0x70;
        s.label(g, 0, 0) = 0x15;  // "A."
        s.label(g, 0, 1) = 0x16;  // "B"
        groupByte(s, g, 1) = 0x01;     // scan: channel 1
        s.EEImage[37 + 2 * g] = 0x01;  // narrow: channel 1
        s.EEImage[36 + 2 * g] = 0x20;  // narrow: channel 14
        s.PowerMask[g] = 0x20;         // power bit: channel 14
        const QStringList l = BuildUnitReport(s, {}).plainLines();
        const int heading = indexStartingWith(l, "Chan", 1);
        QCOMPARE(l.at(heading), QString(8, ' ') + "Chan" + QString(3, ' ') + "Rec Freq" +
                                    QString(4, ' ') + "Rec CG" + QString(4, ' ') + "Tx Freq" +
                                    QString(5, ' ') + "Tx CG" + QString(5, ' ') + "Label" +
                                    QString(6, ' ') + "Scan" + QString(4, ' ') + "Narrow" +
                                    QString(4, ' ') + "Low Power");
        const QString first = l.at(heading + 1);
        QCOMPARE(first.mid(9, 1), QString("1"));
        QCOMPARE(first.mid(15, 9), QString("155.12500"));
        QCOMPARE(first.mid(29, 5), QString("D023-"));
        QCOMPARE(first.mid(39, 9), QString("162.40500"));
        QCOMPARE(first.mid(53, 5), QString("067.0"));
        QCOMPARE(first.mid(63, 3), QString("A.B"));
        QCOMPARE(first.mid(77, 1), QString("S"));
        QCOMPARE(first.mid(87, 1), QString("N"));
        QCOMPARE(first.size(), 88);  // no low-power flag for channel 1
        const QString last = l.at(heading + 14);
        QCOMPARE(last.mid(9, 2), QString("14"));
        QCOMPARE(last.mid(15, 4), QString("none"));
        QCOMPARE(last.mid(63, 6), QString("BLANK!"));
        QCOMPARE(last.mid(87), QString("N          L"));
    }

    void eightPagesTwoGroupsEach() {
        const UnitReport r = BuildUnitReport(AppState(), {});
        QCOMPARE(int(r.pages.size()), 8);
        auto groupsOn = [&](int page) {
            QStringList names;
            for (const ReportLine& line : r.pages[size_t(page)])
                if (line.plainText().trimmed().startsWith("Group ")) names << line.plainText().trimmed();
            return names;
        };
        QCOMPARE(groupsOn(0), QStringList{"Group 1 Data"});
        QCOMPARE(groupsOn(1), (QStringList{"Group 2 Data", "Group 3 Data"}));
        QCOMPARE(groupsOn(7), (QStringList{"Group 14 Data", "Group 15 Data"}));
        QVERIFY(r.pages[1].at(0).pieces.empty() && r.pages[1].at(1).pieces.empty());
    }

    void pdfHasEightPagesOfTheSameText() {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty()) QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath("report.pdf");
        AppState s = blankLabels();
        groupByte(s, 0, 2) = 0x35;
        QString error;
        QVERIFY2(WriteUnitReportPdf(BuildUnitReport(s, "radio.tav"), pdf, &error), qPrintable(error));
        QProcess p;
        p.start(pdftotext, {"-layout", pdf, "-"});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(text.count(QLatin1Char('\f')), 8);
        QStringList lines;  // the layout keeps each printed line; runs of blanks vary
        for (const QString& l : text.split('\n')) lines << l.simplified();
        QVERIFY(lines.contains("TAV Unit Data Printout radio.tav"));
        QVERIFY(lines.contains("Time Out Timer = 75 Scan Hold Time = 1.5"));
        QVERIFY(lines.contains("14 none 000.0 none 000.0 BLANK!"));
        QVERIFY(text.contains("Group 15 Data"));
    }

    void pdfToUnwritablePathFails() {
        QString error;
        QVERIFY(!WriteUnitReportPdf(BuildUnitReport(AppState(), {}), "/nonexistent/dir/x.pdf", &error));
        QVERIFY(!error.isEmpty());
    }
};

TAV_TEST(TestUnitReport);
#include "tst_unitreport.moc"
