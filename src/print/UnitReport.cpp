#include "print/UnitReport.h"

#include "model/ChannelPower.h"
#include "model/ControlLists.h"
#include "model/FieldTable.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"

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

QString plainNumber(double value) {
    return QString::number(value, 'g', 15);
}

namespace {

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
        const auto u = [this](const char* key) { return printed(FieldScope::Unit, key, -1); };
        w.line(ReportStyle::Heading, {{9, QStringLiteral("Unit Global Data")}});
        w.body(10, u("dtmf_deviation") + QStringLiteral("    ") + u("front_porch_time") +
                       QStringLiteral("    ") + u("ani_rate") + QStringLiteral("    ") +
                       u("priority_rate"));
        w.body(10, u("global_battery_saver") + QStringLiteral("    ") +
                       u("display_frequencies_only") + QStringLiteral("    ") +
                       u("per_channel_bandwidth"));
        w.body(10, u("bank_scan") + QStringLiteral("      ") + u("password"));
    }

    void groupBlock(PageWriter& w, int g) const {
        const auto p = [this, g](const char* key) { return printed(FieldScope::Group, key, g); };

        w.blank();
        w.line(ReportStyle::Heading,
               {{9, QStringLiteral("Group %1 Data").arg(GroupNumber::toUser(g))}});
        QString glabel = labelText(g, kGroupLabelSlot);
        if (glabel.isEmpty()) glabel = QStringLiteral(" BLANK! ");
        w.body(10, p("ani_id") + QStringLiteral("      Group Label: ") + glabel);
        w.body(10, p("time_out_timer") + QStringLiteral("      ") + p("scan_hold_time"));
        w.body(10, p("priority_channel") + QStringLiteral("      ") + p("priority_mode"));
        w.body(10, p("battery_saver") + QStringLiteral("      ") + p("priority_key_lockout") +
                       QStringLiteral("      ") + p("ent_clr_key_lockout"));
        w.body(10, p("busy_channel_indicator") + QStringLiteral("      ") + p("resident_ani_dtmf"));
        w.body(10, p("user_code_guard") + QStringLiteral("      ") + p("ucg_channel") +
                       QStringLiteral("      ") + p("ucg_encode_only"));
        w.line(ReportStyle::Body, {{10, p("alpha_enabled")}, {35, p("backlight_timeout")}});
        w.body(10, QStringLiteral("Backlight on ") + backlightEvents(g));
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

    // A field's caption and value in the printout's words; hexadecimal fields as they are.
    QString printed(FieldScope scope, const char* key, int g) const {
        const FieldDef& f = Field(scope, key);
        const QString value = f.type == FieldType::HexDigits
                                  ? ReadFieldValue(s_, f, g, -1)
                                  : FieldPrintText(f, FieldNumber(s_, f, g, -1));
        return QString::fromLatin1(f.printCaption) + value;
    }

    QString backlightEvents(int g) const {
        QStringList names;
        for (const char* key : {"backlight_channel_change", "backlight_scan_state_change",
                                "backlight_other_display", "backlight_keypress"}) {
            const FieldDef& f = Field(FieldScope::Group, key);
            if (FieldNumber(s_, f, g, -1)) names << FieldPrintText(f, 1);
        }
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
        w.line(ReportStyle::BodyBold, {{9, "Chan"},
                                       {16, "Rec Freq"},
                                       {28, "Rec CG"},
                                       {38, "Tx Freq"},
                                       {50, "Tx CG"},
                                       {60, "Label"},
                                       {71, "Scan"},
                                       {79, "Narrow"},
                                       {89, "Low Power"}});
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
