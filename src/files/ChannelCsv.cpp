#include "files/ChannelCsv.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "files/CsvText.h"
#include "model/EntryRules.h"
#include "model/MemoryGrid.h"
#include "model/RadioFields.h"
#include "model/clsGroup.h"

namespace tav {

namespace {

namespace cf = channel_fields;

// The channel columns after Group and Channel, in export order.
enum Column { kRxFreq, kRxCG, kTxFreq, kTxCG, kLabel, kScan, kNarrow, kLowPower, kColumnCount };

const QString& columnName(int column) {
    static const std::array<QString, kColumnCount> kNames = {cf::kRxFreq, cf::kRxCG,    cf::kTxFreq,
                                                             cf::kTxCG,   cf::kLabel,   cf::kScan,
                                                             cf::kNarrow, cf::kLowPower};
    return kNames[std::size_t(column)];
}

const QString kGroupColumn = QStringLiteral("Group");
const QString kChannelColumn = QStringLiteral("Channel");
// Keys of the two number columns among the channel columns.
constexpr int kGroupKey = kColumnCount;
constexpr int kChannelKey = kColumnCount + 1;

bool isFlag(int column) {
    return column >= kScan;
}

// Each channel's values as the image shows them, by group and channel index.
using ChannelValues = std::array<QString, kColumnCount>;
using ImageValues = std::array<std::array<ChannelValues, kChannelsPerGroup>, kGroupCount>;

ImageValues imageValues(const AppState& state) {
    ImageValues values;
    for (const RadioField& f : ListRadioFields(state)) {
        if (f.channel < 0) continue;
        for (int col = 0; col < kColumnCount; ++col)
            if (f.name == columnName(col))
                values[std::size_t(f.group)][std::size_t(f.channel)][std::size_t(col)] = f.value;
    }
    return values;
}

// ---- Checking one value. Frequencies, channel guards and labels take the
// core's entry rules; the flags are the file's own.

bool flagValue(int column, const QString& text, int& value, QString& why) {
    const QString t = text.trimmed().toUpper();
    static const QChar kLetters[] = {u'S', u'N', u'L'};
    const QChar letter = kLetters[column - kScan];
    if (column == kNarrow && t == QLatin1String("N")) {
        why = QStringLiteral("\"N\" could mean narrow or no: write 1 or 0");
        return false;
    }
    if (t.isEmpty() || t == QLatin1String("0") || t == QLatin1String("N")) {
        value = 0;
        return true;
    }
    if (t == QLatin1String("1") || t == QLatin1String("Y") || t == QString(letter)) {
        value = 1;
        return true;
    }
    // In the Narrow column "N" is the printout's letter and is refused above.
    why = column == kNarrow ? QStringLiteral("not a flag (\"\", 0, 1 or Y)")
                            : QStringLiteral("not a flag (\"\", 0, 1, Y, N or %1)").arg(letter);
    return false;
}

// ---- Rows.

struct Edit {
    int column;
    QString cell;   // text columns
    int check = 0;  // flag columns
};

struct RowEdits {
    int line = 0;
    int group = -1, channel = -1;  // indexes
    std::vector<Edit> edits;
};

class Importer {
public:
    explicit Importer(const AppState& state) : current_(imageValues(state)) {}

    CsvImportResult result;

    void header(const CsvRecord& rec) {
        for (int i = 0; i < rec.fields.size(); ++i) {
            const QString name = rec.fields[i].trimmed();
            int col = -1;
            if (name.compare(kGroupColumn, Qt::CaseInsensitive) == 0) {
                col = kGroupKey;
            } else if (name.compare(kChannelColumn, Qt::CaseInsensitive) == 0) {
                col = kChannelKey;
            } else {
                for (int c = 0; c < kColumnCount; ++c)
                    if (name.compare(columnName(c), Qt::CaseInsensitive) == 0) col = c;
            }
            if (col < 0) {
                bad(rec.line, QStringLiteral("unknown column \"%1\"").arg(name));
                continue;
            }
            if (positions_.count(col)) {
                bad(rec.line, QStringLiteral("column \"%1\" given twice").arg(name));
                continue;
            }
            positions_[col] = int(i);
        }
        width_ = int(rec.fields.size());
        if (!positions_.count(kGroupKey)) bad(rec.line, QStringLiteral("no \"Group\" column"));
        if (!positions_.count(kChannelKey)) bad(rec.line, QStringLiteral("no \"Channel\" column"));
    }

    bool headerOk() const { return problems_.empty(); }

    void syntax(const std::vector<CsvError>& errors) {
        for (const CsvError& e : errors) bad(e.line, e.what);
    }

    bool clean() const { return problems_.empty(); }

    // Every problem, by line.
    CsvImportResult finish() {
        std::stable_sort(problems_.begin(), problems_.end(),
                         [](const CsvError& a, const CsvError& b) { return a.line < b.line; });
        for (const CsvError& e : problems_)
            result.errors << QStringLiteral("line %1: %2").arg(e.line).arg(e.what);
        return result;
    }

    void row(const CsvRecord& rec) {
        ++result.rows;
        if (rec.fields.size() != width_) {
            bad(rec.line, QStringLiteral("%1 fields where the header has %2")
                              .arg(rec.fields.size())
                              .arg(width_));
            return;
        }
        RowEdits row;
        row.line = rec.line;
        row.group = number(rec, kGroupKey, kGroupColumn, kGroupCount);
        row.channel = number(rec, kChannelKey, kChannelColumn, kChannelsPerGroup);
        const ChannelValues* now = nullptr;
        if (row.group >= 0 && row.channel >= 0) {
            now = &current_[std::size_t(row.group)][std::size_t(row.channel)];
            if (!duplicate(row)) seen_[{row.group, row.channel}] = rec.line;
        }
        for (const auto& [col, pos] : positions_)
            if (col < kColumnCount) value(row, col, rec.fields[pos], now);
        if (!row.edits.empty()) rows_.push_back(std::move(row));
    }

    void apply(AppState& state) {
        AppState work = state;
        for (int g = 0; g < kGroupCount; ++g) applyGroup(work, g);
        work.NewGroupIndex = state.NewGroupIndex;
        work.NewChannelIndex = state.NewChannelIndex;
        state = work;
    }

private:
    void bad(int line, const QString& why) { problems_.push_back({line, why}); }

    // A group or channel number 1..last as an index; -1 (and a complaint) otherwise.
    int number(const CsvRecord& rec, int col, const QString& name, int last) {
        const QString text = rec.fields[positions_.at(col)];
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        if (ok && n >= 1 && n <= last) return n - 1;
        bad(rec.line,
            QStringLiteral("%1 \"%2\": not a number from 1 to %3").arg(name, text).arg(last));
        return -1;
    }

    bool duplicate(const RowEdits& row) {
        const auto it = seen_.find({row.group, row.channel});
        if (it == seen_.end()) return false;
        bad(row.line, QStringLiteral("group %1 channel %2 is already given on line %3")
                          .arg(row.group + 1)
                          .arg(row.channel + 1)
                          .arg(it->second));
        return true;
    }

    // Checks one value and records it when it changes what the image shows.
    // A value the image already shows is taken as it stands.
    void value(RowEdits& row, int col, const QString& text, const ChannelValues* now) {
        const QString* shown = now ? &(*now)[std::size_t(col)] : nullptr;
        if (shown && !isFlag(col) && text == *shown) return;
        Edit e{col, QString(), 0};
        QString why;
        bool ok = true;
        if (!isFlag(col)) {
            const EntryVerdict v = col == kRxFreq || col == kTxFreq ? CheckFrequencyEntry(text)
                                   : col == kLabel                  ? CheckLabelEntry(text)
                                                                    : CheckGuardEntry(text);
            // A value the radio would show as the image already does changes nothing.
            if (v.ok && shown && v.normalized == *shown) return;
            ok = v.ok;
            why = v.reason;
            e.cell = v.normalized;
        } else {
            ok = flagValue(col, text, e.check, why);
            if (ok && col == kLowPower && row.group > kLastPoweredGroup && e.check) {
                ok = false;
                why = QStringLiteral("group 15 has no low power setting");
            }
            if (ok && shown && (shown->isEmpty() ? 0 : shown->toInt()) == e.check) return;
        }
        if (!ok) {
            bad(row.line, RefusalText(columnName(col), text, why));
            return;
        }
        row.edits.push_back(e);
    }

    void applyGroup(AppState& work, int g) {
        bool any = false;
        for (const RowEdits& r : rows_) any = any || r.group == g;
        if (!any) return;
        GroupControls controls;
        MemoryGrid grid;
        work.NewGroupIndex = static_cast<int16_t>(g);
        clsGroup group(work, controls, grid);
        group.Read_Group();
        for (const RowEdits& r : rows_) {
            if (r.group != g) continue;
            for (const Edit& e : r.edits) applyEdit(group.channel(r.channel), controls, grid, e);
        }
    }

    // Only the changed field goes through its codec, so every other byte of
    // the image keeps exactly what it held.
    void applyEdit(clsChannel& ch, GroupControls& controls, MemoryGrid& grid, const Edit& e) {
        const int c = ch.channelIndex();
        const std::size_t ci = static_cast<std::size_t>(c);
        ++result.changedFields;
        switch (e.column) {
            case kRxFreq:
                grid.setCellText(1, c, e.cell);
                return ch.Write_RX_Freq();
            case kRxCG:
                grid.setCellText(2, c, e.cell);
                return ch.Write_RX_CG();
            case kTxFreq:
                grid.setCellText(3, c, e.cell);
                return ch.Write_TX_Freq();
            case kTxCG:
                grid.setCellText(4, c, e.cell);
                return ch.Write_TX_CG();
            case kLabel:
                grid.setCellText(5, c, e.cell);
                return ch.Write_Chan_Alpha();
            case kScan:
                controls.chkScan[ci] = e.check;
                return ch.Write_Scan_List();
            case kNarrow:
                controls.chkNarr[ci] = e.check;
                return ch.Write_Narrow_Band();
            case kLowPower:
                controls.chkLoPower[ci] = e.check;
                return ch.Write_Lo_Power();
        }
    }

    const ImageValues current_;
    std::map<int, int> positions_;  // column -> field position in a row
    qsizetype width_ = 0;
    std::map<std::pair<int, int>, int> seen_;  // (group, channel) -> line
    std::vector<RowEdits> rows_;
    std::vector<CsvError> problems_;
};

bool decodeUtf8(const QByteArray& bytes, QString& text) {
    QStringDecoder decoder(QStringDecoder::Utf8);  // a leading BOM is skipped
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

}  // namespace

QStringList ChannelCsvColumns() {
    QStringList names{kGroupColumn, kChannelColumn};
    for (int c = 0; c < kColumnCount; ++c) names << columnName(c);
    return names;
}

QByteArray ExportChannelCsv(const AppState& state) {
    const ImageValues values = imageValues(state);
    QString out = CsvLine(ChannelCsvColumns());
    for (int g = 0; g < kGroupCount; ++g) {
        for (int c = 0; c < kChannelsPerGroup; ++c) {
            QStringList row{QString::number(g + 1), QString::number(c + 1)};
            for (const QString& v : values[std::size_t(g)][std::size_t(c)]) row << v;
            out += CsvLine(row);
        }
    }
    return out.toUtf8();
}

RadioFileResult ExportChannelCsvFile(const AppState& state, const QString& path) {
    return SaveFileBytes(path, ExportChannelCsv(state));
}

CsvImportResult ImportChannelCsv(AppState& state, const QByteArray& csv) {
    QString text;
    if (!decodeUtf8(csv, text)) {
        CsvImportResult r;
        r.errors << QStringLiteral("the text is not UTF-8");
        return r;
    }
    const CsvTable table = ParseCsv(text);
    Importer importer(state);
    const bool spoilt =
        table.records.empty() ||
        std::any_of(table.errors.begin(), table.errors.end(),
                    [&](const CsvError& e) { return e.line <= table.records.front().line; });
    if (spoilt) {
        // A header spoilt by bad quoting: nothing else can be read.
        importer.syntax(table.errors);
        if (importer.clean()) importer.syntax({{1, QStringLiteral("no header row")}});
        return importer.finish();
    }
    importer.header(table.records.front());
    if (!importer.headerOk()) {
        importer.syntax(table.errors);
        return importer.finish();
    }
    importer.syntax(table.errors);
    for (std::size_t i = 1; i < table.records.size(); ++i) importer.row(table.records[i]);
    if (importer.clean()) importer.apply(state);
    return importer.finish();
}

CsvImportResult ImportChannelCsvFile(AppState& state, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CsvImportResult r;
        r.errors << QStringLiteral("%1: %2").arg(path, file.errorString());
        return r;
    }
    return ImportChannelCsv(state, file.readAll());
}

}  // namespace tav
