#pragma once
// The fuzzing entry points, shared by the libFuzzer targets and by the test
// that replays the kept corpus with the normal compiler. Each feeds arbitrary
// bytes to a loader and checks what must hold for every input; a broken rule
// aborts with a message, which the fuzzer records as a finding.

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "files/ChannelCsv.h"
#include "files/RadioFile.h"
#include "fleet/FleetPlan.h"
#include "model/AppState.h"
#include "model/FieldPaths.h"
#include "model/ImageDiff.h"
#include "model/RadioFields.h"
#include "model/clsWriteDefaults.h"
#include "print/UnitReport.h"

namespace tav::fuzz {

inline void require(bool ok, const char* rule) {
    if (ok) return;
    std::fprintf(stderr, "fuzz rule broken: %s\n", rule);
    std::abort();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Exporting an image's channels and importing them again changes nothing.
inline void requireCsvRoundTrip(const AppState& image) {
    AppState again = image;
    const CsvImportResult r = ImportChannelCsv(again, ExportChannelCsv(image));
    require(r.ok(), "an export imports without errors");
    require(r.changedFields == 0, "an export changes no field when imported");
    require(SerializeRadioFile(again) == SerializeRadioFile(image),
            "an export imports to the same bytes");
}

// A radio file of any content: loads or is refused whole, and every reader of
// the image copes with whatever it holds.
inline int FuzzRadioFileLoader(const uint8_t* data, size_t size) {
    const QByteArray bytes = bytesOf(data, size);
    AppState state;
    state.EEImage.fill(0xA5);
    const QByteArray before = SerializeRadioFile(state);
    const RadioFileResult r = LoadRadioFileBytes(bytes, state);
    if (!r.ok()) {
        require(bytes.size() < kRadioFileMinimum, "only short files are refused");
        require(SerializeRadioFile(state) == before, "a refused file changes nothing");
        return 0;
    }
    const QByteArray saved = SerializeRadioFile(state);
    const qsizetype loaded = std::min<qsizetype>(bytes.size(), kRadioFileSize);
    require(saved.left(loaded) == bytes.left(loaded), "a file loads byte for byte");
    require(saved.mid(loaded) == before.mid(loaded), "what a short file lacks is kept");
    static const qsizetype kPrintoutLines =
        BuildUnitReport(AppState(), QString()).plainLines().size();
    require(BuildUnitReport(state, QString()).plainLines().size() == kPrintoutLines,
            "the printout has a fixed number of lines");
    requireCsvRoundTrip(state);
    return 0;
}

// The editor's start-up image.
inline const AppState& defaultsImage() {
    static const AppState kImage = [] {
        AppState s;
        for (int g = 0; g < kGroupCount; ++g) {
            s.NewGroupIndex = static_cast<int16_t>(g);
            clsWriteDefaults(s).WriteGroup();
        }
        s.NewGroupIndex = 0;
        return s;
    }();
    return kImage;
}

// CSV text of any content: refused whole with reasons, or applied to channel
// fields only.
inline int FuzzCsvImport(const uint8_t* data, size_t size) {
    const AppState& base = defaultsImage();
    AppState state = base;
    const QByteArray csv = bytesOf(data, size);
    const CsvImportResult r = ImportChannelCsv(state, csv);
    if (!r.ok()) {
        require(SerializeRadioFile(state) == SerializeRadioFile(base), "a bad CSV changes nothing");
        require(r.changedFields == 0, "a bad CSV reports no change");
        return 0;
    }
    for (const QString& line : CompareImages(base, state))
        require(
            line.startsWith(QLatin1String("group ")) && line.contains(QLatin1String(" channel ")),
            "a CSV changes channel fields only");
    AppState twice = state;
    require(ImportChannelCsv(twice, csv).ok(), "a CSV that imported once imports again");
    require(SerializeRadioFile(twice) == SerializeRadioFile(state),
            "importing twice changes nothing more");
    requireCsvRoundTrip(state);
    return 0;
}

// A fleet plan file of any content: refused with a reason, or a plan whose
// rows, once they pass the check, each apply to the template; a refused
// row leaves the image alone.
inline int FuzzFleetPlan(const uint8_t* data, size_t size) {
    fleet::FleetPlan plan;
    QString why;
    if (!fleet::PlanFromCsv(QString::fromUtf8(bytesOf(data, size)), plan, &why)) {
        require(!why.isEmpty(), "a refused plan says why");
        return 0;
    }
    require(!plan.rows.isEmpty(), "a plan has rows");
    const AppState& base = defaultsImage();
    const bool checked = fleet::CheckPlan(base, plan, &why);
    require(checked || why.startsWith(QLatin1String("row ")), "a plan's fault names its row");
    for (const fleet::PlanRow& row : plan.rows) {
        AppState image = base;
        const bool applied = fleet::ApplyRow(image, row, nullptr);
        require(!checked || applied, "every row of a checked plan applies");
        if (!applied)
            require(SerializeRadioFile(image) == SerializeRadioFile(base),
                    "a refused row changes nothing");
    }
    return 0;
}

// Field edits of any content, as JSON (starting with "{") or as PATH=VALUE
// lines: refused whole, leaving the image byte for byte, or taken; taken
// edits taken again change nothing, and every path they name can be read.
inline int FuzzFieldEdits(const uint8_t* data, size_t size) {
    const QByteArray bytes = bytesOf(data, size);
    QList<FieldAssignment> edits;
    if (bytes.startsWith('{')) {
        if (!FieldEditsFromJson(bytes, &edits, nullptr)) return 0;
    } else {
        for (const QString& line : QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts)) {
            FieldAssignment edit;
            if (!ParseFieldAssignment(line, &edit, nullptr)) return 0;
            edits << edit;
        }
    }
    const AppState& base = defaultsImage();
    AppState state = base;
    FieldPathError error;
    if (!SetFields(state, edits, &error)) {
        require(SerializeRadioFile(state) == SerializeRadioFile(base),
                "a refused edit changes nothing");
        require(!error.reason.isEmpty(), "a refusal says why");
        return 0;
    }
    AppState again = state;
    int changed = -1;
    require(SetFields(again, edits, nullptr, &changed), "edits taken once are taken again");
    require(changed == 0 && SerializeRadioFile(again) == SerializeRadioFile(state),
            "edits taken again change nothing");
    for (const FieldAssignment& edit : edits) {
        QStringList values;
        require(GetField(state, edit.path, &values, nullptr), "a path that was set can be read");
    }
    return 0;
}

}  // namespace tav::fuzz
