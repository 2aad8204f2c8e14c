#include "print/UnitReport.h"

#include "model/ChannelPower.h"
#include "model/ControlLists.h"
#include "model/MGlobals.h"
#include "model/LabelText.h"

namespace tav {

QString ReportLine::plainText() const {
    QString out;
    for (const ReportPiece& p : pieces) {
        if (p.text.isEmpty()) continue;
        if (p.tab > 0) {
            // At its column, but never closer than a blank to a text that ran long.
            const qsizetype afterText = out.isEmpty() ? 0 : out.size() + 1;
            out = out.leftJustified(std::max<qsizetype>(p.tab - 1, afterText), u' ');
        }
        out += p.text;
    }
    return out;
}

QStringList UnitReport::plainLines() const {
    QStringList lines;
    for (const ReportPage& page : pages)
        for (const ReportLine& line : page) lines << line.plainText();
    return lines;
}

QString plainNumber(double value) { return QString::number(value, 'g', 15); }

namespace {

QString hex2(int b) { return QStringLiteral("%1").arg(b & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

QString setOrClear(bool set, const char* whenSet, const char* whenClear) {
    return QString::fromLatin1(set ? whenSet : whenClear);
}

// Appends lines to one page; keeps the document code close to how the printout reads.
class PageWriter {
public:
    explicit PageWriter(ReportPage& page) : page_(page) {}
    void blank(ReportStyle style = ReportStyle::Body) { page_.push_back({style, {}}); }
    void line(ReportStyle style, std::vector<ReportPiece> pieces) {
        page_.push_back({style, std::move(pieces)});
    }
    void body(int tab, const QString& text) { line(ReportStyle::Body, {{tab, text}}); }

private:
    ReportPage& page_;
};

class ReportBuilder {
public:
    explicit ReportBuilder(const AppState& s) : s_(s) {}

    void unitBlock(PageWriter& w) const {
        const uint8_t b6 = unitByte(6), b7 = unitByte(7);
        w.line(ReportStyle::Heading, {{9, QStringLiteral("Unit Global Data")}});
        w.body(10, QStringLiteral("DTMF Dev = ") + plainNumber(((b7 & 0xF8) / 8) * 187.5) +
                       QStringLiteral("    Front Porch Time = ") +
                       QString::number((b7 & 0x03) * 330 + 30) + QStringLiteral("    ANI Rate = ") +
                       QString::number((((b7 & 0x04) / 4) + 1) * 10) +
                       QStringLiteral("    Priority Rate = ") +
                       plainNumber((((b6 & 0x78) / 8) + 1) * 0.25));
        w.body(10, QStringLiteral("Global Battery Saver is ") +
                       setOrClear(b6 & 0x80, "Inhibited", "Enabled") +
                       QStringLiteral("    Display Frequencies Only is ") +
                       setOrClear(unitByte(104) & 0x80, "Enabled", "Disabled") +
                       QStringLiteral("    Per Channel Bandwidth is ") +
                       setOrClear(b6 & 0x04, "Enabled", "Disabled"));
        w.body(10, QStringLiteral("Bank Scan is ") + setOrClear(b6 & 0x01, "Enabled", "Disabled") +
                       QStringLiteral("      Unit Password = ") + hex2(unitByte(11)) +
                       hex2(unitByte(12)) + hex2(unitByte(13)));
    }

    void groupBlock(PageWriter& w, int g) const {
        static const char* const kMode[] = {"A", "D", "B", "C"};
        static const char* const kBci[] = {"Off", "Indicate", "Override", "Lockout"};
        static const char* const kRes[] = {"Off", "DTMF Only", "ANI Only", "DTMF w/Manual ANI"};
        static const char* const kTimeout[] = {"Always off", "1 second",  "2 seconds", "3 seconds",
                                               "4 seconds",  "5 seconds", "6 seconds", "Always On"};
        const uint8_t b0 = groupByte(g, 0), b2 = groupByte(g, 2), b3 = groupByte(g, 3),
                      b4 = groupByte(g, 4), b8 = groupByte(g, 8), bl = s_.label(g, kBacklightSlot, kBacklightCell);

        w.blank();
        w.line(ReportStyle::Heading, {{9, QStringLiteral("Group %1 Data").arg(g + 1)}});
        QString glabel = labelText(g, kGroupLabelSlot);
        if (glabel.isEmpty()) glabel = QStringLiteral(" BLANK! ");
        w.body(10, QStringLiteral("ANI/ID Number: ") + QString::number(b4 & 0x0F, 16).toUpper() +
                       hex2(groupByte(g, 5)) + hex2(groupByte(g, 6)) + hex2(groupByte(g, 7)) +
                       QStringLiteral("      Group Label: ") + glabel);
        const int tot = b2 & 0x0F;
        w.body(10, QStringLiteral("Time Out Timer = ") +
                       (tot == 0 ? QStringLiteral("OFF") : QString::number(tot * 15)) +
                       QStringLiteral("      Scan Hold Time = ") + plainNumber((b2 / 16) * 0.5));
        w.body(10, QStringLiteral("Priority Channel: ") + QString::number((b3 & 0x0F) + 1) +
                       QStringLiteral("      Priority Mode: ") + kMode[(b3 & 0xC0) >> 6]);
        w.body(10, QStringLiteral("Battery Saver: ") + setOrClear(b0 & 0x80, "Off", "On") +
                       QStringLiteral("      Priority Key: ") +
                       setOrClear(b3 & 0x20, "Locked Out", "Enabled") +
                       QStringLiteral("      'ENT' & 'CLR' Keys: ") +
                       setOrClear(b3 & 0x10, "Locked Out", "Enabled"));
        w.body(10, QStringLiteral("Busy Channel Indicator: ") + kBci[(b4 & 0xC0) >> 6] +
                       QStringLiteral("      Resident ANI/DTMF: ") + kRes[(b4 & 0x30) >> 4]);
        int ucgChan = b8 & 0x0F;
        if (ucgChan > 14) ucgChan = 0;
        w.body(10, QStringLiteral("User Code Guard is ") +
                       setOrClear(b0 & 0x40, "Enabled", "Disabled") +
                       QStringLiteral("      User code Guard Channel: ") +
                       lists::ucgChannels().at(ucgChan) +
                       QStringLiteral("      User Code Guard Encode Only: ") +
                       setOrClear(b8 & 0x80, "Yes", "No"));
        w.line(ReportStyle::Body,
               {{10, QStringLiteral("Alpha is ") + setOrClear(bl & 0x01, "Enabled", "Disabled")},
                {35, QStringLiteral("Backlight Timeout: ") + kTimeout[(bl / 2) & 7]}});
        w.body(10, QStringLiteral("Backlight on ") + backlightEvents(bl));
        channelTable(w, g);
        w.blank();
    }

private:
    uint8_t unitByte(int a) const { return s_.EEImage[static_cast<std::size_t>(a)]; }
    uint8_t groupByte(int g, int a) const {
        const int page = GroupPage(static_cast<int16_t>(g));
        return s_.EEImage[static_cast<std::size_t>(page * kPageSize + a)];
    }
    QString labelText(int g, int slot) const { return LabelCellsText(s_, g, slot); }

    static QString backlightEvents(uint8_t bl) {
        static const struct {
            int bit;
            const char* name;
        } kEvents[] = {{0x80, "Channel Change"},
                       {0x40, "Scan State Change"},
                       {0x20, "Other Display"},
                       {0x10, "Keypress"}};
        QStringList names;
        for (const auto& e : kEvents)
            if (bl & e.bit) names << QString::fromLatin1(e.name);
        return names.isEmpty() ? QStringLiteral("nothing") : names.join(QStringLiteral(", "));
    }

    // Bit of channel c in a pair of mask bytes: the first holds channels 8..13.
    static bool channelBit(uint8_t first, uint8_t second, int c) {
        return c >= 8 ? (first >> (c - 8)) & 1 : (second >> c) & 1;
    }
    static QString flag(bool set, const char* text) {
        return set ? QString::fromLatin1(text) : QString();
    }

    void channelTable(PageWriter& w, int g) const {
        w.blank();
        w.line(ReportStyle::BodyBold,
               {{9, "Chan"}, {16, "Rec Freq"}, {28, "Rec CG"}, {38, "Tx Freq"}, {50, "Tx CG"},
                {60, "Label"}, {71, "Scan"}, {79, "Narrow"}, {89, "Low Power"}});
        for (int c = 0; c < kChannelsPerGroup; ++c) {
            const int a = channelRecord(c);
            QString label = labelText(g, c);
            if (label.isEmpty()) label = QStringLiteral("BLANK!");
            const bool scan =
                channelBit(groupByte(g, kScanListOffset), groupByte(g, kScanListOffset + 1), c);
            const int bw = bandwidthAddress(g);
            const bool narrow = channelBit(unitByte(bw), unitByte(bw + 1), c);
            // "L" where the window shows Low Power; group 15 has no power setting.
            const bool low = PowerOfChannel(s_, g, c) == ChannelPower::Low;
            w.line(ReportStyle::Body,
                   {{10, QString::number(c + 1)},
                    {16, FreqBytesToText(groupByte(g, a), groupByte(g, a + 1))},
                    {30, CGBytesToText(groupByte(g, a + 3), groupByte(g, a + 2))},
                    {40, FreqBytesToText(groupByte(g, a + 4), groupByte(g, a + 5))},
                    {54, CGBytesToText(groupByte(g, a + 7), groupByte(g, a + 6))},
                    {64, label},
                    {78, flag(scan, "S")},
                    {88, flag(narrow, "N")},
                    {99, flag(low, "L")}});
        }
    }

    const AppState& s_;
};

}  // namespace

UnitReport BuildUnitReport(const AppState& state, const QString& printFileName) {
    const ReportBuilder b(state);
    UnitReport report;
    report.pages.emplace_back();
    {
        PageWriter w(report.pages.back());
        w.blank(ReportStyle::Title);
        w.line(ReportStyle::Title,
               {{10, QStringLiteral("TAV Unit Data Printout    ") + printFileName}});
        w.blank(ReportStyle::Title);
        b.unitBlock(w);
        w.blank();
    }
    for (int g = 0; g < kGroupCount; ++g) {
        PageWriter w(report.pages.back());
        b.groupBlock(w, g);
        if (g % 2 == 0 && g < 14) {
            report.pages.emplace_back();
            PageWriter next(report.pages.back());
            next.blank();
            next.blank();
        }
    }
    return report;
}

}  // namespace tav
