#pragma once
// A fleet bench for the tests: benches of virtual radios (`tavctl sim
// --radios`), fleet runs of `tavctl`, the log as the core reads it, and what
// a radio must hold after a fleet wrote it, worked out by hand from the
// described masks rather than from the code under test.

#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "E2eSupport.h"
#include "files/RadioFile.h"
#include "fleet/FleetLog.h"
#include "model/AppState.h"
#include "sim/RadioImage.h"

namespace tav::test {

// Bench i's radio k has the image drawn from seed 1000 * (i + 1) + k.
inline quint32 benchSeed(int bench) {
    return quint32(1000 * (bench + 1));
}

// One `tavctl sim --radios` per bench, no wire timing, no swap time; each
// radio is dumped to DIR/bench-I/radio-K.tav as it leaves. `extra[i]` are
// more options for bench i.
struct Benches {
    std::vector<std::unique_ptr<Simulator>> sims;
    QStringList devices;

    Benches(const QString& dir, const QList<int>& radios, const QList<QStringList>& extra = {}) {
        for (int i = 0; i < radios.size(); ++i) {
            const QString dump = QStringLiteral("%1/bench-%2").arg(dir).arg(i);
            QDir().mkpath(dump);
            QStringList options{"--radios", QString::number(radios[i]),    "--swap-seconds", "0",
                                "--seed",   QString::number(benchSeed(i)), "--dump-dir",     dump};
            if (i < extra.size()) options += extra[i];
            sims.push_back(std::make_unique<Simulator>(options));
            devices << sims.back()->device;
        }
    }
    QString ports() const { return devices.join(u','); }
};

// `tavctl fleet run` in the background.
struct FleetProcess {
    QProcess process;
    explicit FleetProcess(const QStringList& args) {
        process.start(tavctlPath(), QStringList{"fleet", "run"} + args);
    }
    // A run still going after `ms` is killed, its table so far in `err`:
    // a run that waits for a radio that never comes fails the test, well
    // within the test's own time limit.
    Run finish(int ms = 120000) {
        Run r;
        const bool ended = process.waitForFinished(ms);
        if (!ended) {
            process.kill();
            process.waitForFinished(5000);
        }
        r.status = ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(process.readAllStandardError());
        if (!ended) r.err.prepend(QStringLiteral("the run did not end in %1 s\n").arg(ms / 1000));
        return r;
    }
};

// The log's attempts, each as column -> text.
inline QList<QMap<QString, QString>> logAttempts(const QString& target) {
    QList<QMap<QString, QString>> out;
    const std::optional<fleet::LogTarget> t = fleet::LogTarget::parse(target, nullptr);
    if (!t) return out;
    fleet::FleetLog log(*t, QStringLiteral("test-reader"));
    QStringList header;
    QList<QStringList> rows;
    if (!log.open(fleet::FleetLog::Access::Read) || !log.attempts(&header, &rows)) return out;
    for (const QStringList& r : rows) {
        QMap<QString, QString> m;
        for (int i = 0; i < header.size(); ++i) m[header[i]] = r[i];
        out << m;
    }
    return out;
}

// The described write masks: the bits a whole-radio write may change at an
// EEPROM address, on a radio with groups 1 to 14 configured and per-channel
// bandwidth.
inline uint8_t writableBits(int a) {
    const int page = a / 128, offset = a % 128;
    if (page == 0) {
        if (offset == 6) return 0xF9;
        if (offset == 7 || (offset >= 11 && offset <= 13) || (offset >= 36 && offset <= 65))
            return 0xFF;
        return offset == 104 ? 0x80 : 0x00;
    }
    if (page == 15) return 0x00;
    if (offset == 8) return 0x8F;
    return offset >= 9 && offset <= 15 ? 0x00 : 0xFF;
}

// `image` with ANI/ID `id` (seven hex digits) in group pages 1 to 14, as the
// group block lays it out: address 4 low nibble, then 5, 6, 7.
inline void putId(AppState& image, const QString& id) {
    const QByteArray d = id.toLatin1();
    for (int page = 1; page <= 14; ++page) {
        uint8_t* p = image.EEImage.data() + page * 128;
        p[4] = uint8_t((p[4] & 0xF0) | QByteArray(d.mid(0, 1)).toUInt(nullptr, 16));
        for (int i = 1; i <= 3; ++i) p[4 + i] = uint8_t(d.mid(2 * i - 1, 2).toUInt(nullptr, 16));
    }
}

// What radio `seed` must hold after a fleet wrote `templ` with ID `id`:
// the writable bits from the template, the rest the radio's own, the power
// words (at 1970 in these radios) from the template's power masks.
inline AppState expectedRadio(const AppState& templ, quint32 seed, const QString& id) {
    AppState want = templ;
    putId(want, id);
    const sim::RandomRadio radio = sim::randomRadio(seed);
    for (int a = 0; a < kEEPromSize; ++a) {
        const uint8_t m = writableBits(a);
        want.EEImage[a] = uint8_t((want.EEImage[a] & m) | (radio.eeprom[a] & ~m));
    }
    for (int g = 0; g < kGroupCount; ++g) {
        want.EEImage[1970 + 2 * g] = templ.PowerMask[g];
        want.EEImage[1971 + 2 * g] = templ.PowerMask[15 + g];
    }
    sim::labelImageFrom(radio.labels, want.LabelImage);
    return want;
}

// The first EEPROM or label byte where two radios differ, as text; empty when none does.
inline QString firstDifference(const AppState& want, const AppState& got) {
    for (int a = 0; a < kEEPromSize; ++a)
        if (want.EEImage[a] != got.EEImage[a])
            return QStringLiteral("EEPROM 0x%1: want %2, got %3")
                .arg(a, 3, 16, QLatin1Char('0'))
                .arg(want.EEImage[a], 2, 16)
                .arg(got.EEImage[a], 2, 16);
    for (int g = 0; g < kGroupCount; ++g)
        for (int slot = 0; slot < 16; ++slot)
            for (int k = 0; k < 8; ++k)
                if (want.label(g, slot, k) != got.label(g, slot, k))
                    return QStringLiteral("label %1/%2/%3").arg(g).arg(slot).arg(k);
    return {};
}

}  // namespace tav::test
