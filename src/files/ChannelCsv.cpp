#include "files/ChannelCsv.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "files/CsvText.h"
#include "model/ChannelColumns.h"
#include "model/EntryRules.h"
#include "model/RadioFields.h"

namespace tav {

namespace {

// The channel columns after Group and Channel, in export order, are the
// channel's columns from "Rx Freq" on, named as the fields name themselves.
constexpr int kFirstColumn = grid::RecFreq;

QString columnName(int column) {
    return QLatin1String(grid::columnField(column)->name);
}

const QString kGroupColumn = QStringLiteral("Group");
const QString kChannelColumn = QStringLiteral("Channel");
// Keys of the two number columns beside the channel columns.
constexpr int kGroupKey = grid::kChannelColumns;
constexpr int kChannelKey = grid::kChannelColumns + 1;

bool isFlag(int column) {
    return grid::columnField(column)->type == FieldType::Check;
}

// Each channel's values as the image shows them, by group and channel index,
// then by column.
using ChannelValues = std::array<QString, grid::kChannelColumns>;
using ImageValues = std::array<std::array<ChannelValues, kChannelsPerGroup>, kGroupCount>;

ImageValues imageValues(const AppState& state) {
    ImageValues values;
    for (const RadioField& f : ListRadioFields(state)) {
        if (f.channel < 0) continue;
        for (int col = kFirstColumn; col < grid::kChannelColumns; ++col)
            if (f.key == QLatin1String(grid::columnField(col)->key))
                values[std::size_t(f.group)][std::size_t(f.channel)][std::size_t(col)] = f.value;
    }
    return values;
}

// ---- Checking one value. Frequencies, channel guards and labels take the
// core's entry rules; the flags are the file's own.

bool flagValue(int column, const QString& text, int& value, QString& why) {
    const QString t = text.trimmed().toUpper();
    static const QChar kLetters[] = {u'S', u'N', u'L'};
    const QChar letter = kLetters[column - grid::Scan];
    if (column == grid::Narrow && t == QLatin1String("N")) {
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
    why = column == grid::Narrow
              ? QStringLiteral("not a flag (\"\", 0, 1 or Y)")
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
                for (int c = kFirstColumn; c < grid::kChannelColumns; ++c)
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
        const int group = number(rec, kGroupKey, kGroupColumn, kGroupCount);
        const int channel = number(rec, kChannelKey, kChannelColumn, kChannelsPerGroup);
        row.group = group ? GroupNumber::fromUser(group) : -1;
        row.channel = channel ? channel - 1 : -1;
        const ChannelValues* now = nullptr;
        if (row.group >= 0 && row.channel >= 0) {
            now = &current_[std::size_t(row.group)][std::size_t(row.channel)];
            if (!duplicate(row)) seen_[{row.group, row.channel}] = rec.line;
        }
        for (const auto& [col, pos] : positions_)
            if (col < grid::kChannelColumns) value(row, col, rec.fields[pos], now);
        if (!row.edits.empty()) rows_.push_back(std::move(row));
    }

    // Only the changed fields' bits change: every other byte of the image
    // keeps exactly what it held.
    void apply(AppState& state) {
        for (const RowEdits& r : rows_)
            for (const Edit& e : r.edits) applyEdit(state, r, e);
    }

private:
    void bad(int line, const QString& why) { problems_.push_back({line, why}); }

    // A group or channel number 1..last; 0 (and a complaint) otherwise.
    int number(const CsvRecord& rec, int col, const QString& name, int last) {
        const QString text = rec.fields[positions_.at(col)];
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        if (ok && n >= 1 && n <= last) return n;
        bad(rec.line,
            QStringLiteral("%1 \"%2\": not a number from 1 to %3").arg(name, text).arg(last));
        return 0;
    }

    bool duplicate(const RowEdits& row) {
        const auto it = seen_.find({row.group, row.channel});
        if (it == seen_.end()) return false;
        bad(row.line, QStringLiteral("group %1 channel %2 is already given on line %3")
                          .arg(GroupNumber::toUser(row.group))
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
            const FieldType type = grid::columnField(col)->type;
            const EntryVerdict v = type == FieldType::Frequency ? CheckFrequencyEntry(text)
                                   : type == FieldType::Label   ? CheckLabelEntry(text)
                                                                : CheckGuardEntry(text);
            // A value the radio would show as the image already does changes nothing.
            if (v.ok && shown && v.normalized == *shown) return;
            ok = v.ok;
            why = v.reason;
            e.cell = v.normalized;
        } else {
            ok = flagValue(col, text, e.check, why);
            if (ok && col == grid::LowPower && row.group > kLastPoweredGroup && e.check) {
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

    void applyEdit(AppState& state, const RowEdits& r, const Edit& e) {
        const FieldDef& f = *grid::columnField(e.column);
        ++result.changedFields;
        if (!isFlag(e.column))
            WriteFieldValue(state, f, r.group, r.channel, e.cell);
        else if (FieldExists(f, r.group))
            WriteFieldCheck(state, f, r.group, r.channel, e.check != 0);
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
    for (int c = kFirstColumn; c < grid::kChannelColumns; ++c) names << columnName(c);
    return names;
}

QByteArray ExportChannelCsv(const AppState& state) {
    const ImageValues values = imageValues(state);
    QString out = CsvLine(ChannelCsvColumns());
    for (int g = 0; g < kGroupCount; ++g) {
        for (int c = 0; c < kChannelsPerGroup; ++c) {
            QStringList row{QString::number(GroupNumber::toUser(g)), QString::number(c + 1)};
            const ChannelValues& shown = values[std::size_t(g)][std::size_t(c)];
            row.append(QStringList(shown.begin() + kFirstColumn, shown.end()));
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
