#include "sim/FaultPlan.h"

#include <QStringList>

#include "model/MemoryMap.h"

namespace tav::sim {

namespace {

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

// A count of 1 or more, or a byte value 0..255; decimal or 0x-prefixed.
bool parseNumber(const QString& text, int min, int max, int& out) {
    bool ok = false;
    const int v = text.toInt(&ok, 0);
    if (!ok || v < min || v > max) return false;
    out = v;
    return true;
}

struct KindName {
    const char* name;
    FaultKind kind;
    int FaultPlan::*single;  // the plain single-count field, if the kind has one
};
const KindName kKinds[] = {
    {"drop-reply", FaultKind::DropReply, &FaultPlan::dropReply},
    {"corrupt-reply", FaultKind::CorruptReply, &FaultPlan::corruptReply},
    {"drop-echo", FaultKind::DropEcho, &FaultPlan::dropEcho},
    {"corrupt-echo", FaultKind::CorruptEcho, &FaultPlan::corruptEcho},
    {"corrupt-in", FaultKind::CorruptIn, nullptr},
};

const char* const kPhaseNames[kPhaseCount] = {"",     "hook",   "eeprom", "ram",
                                              "baud", "loader", "label"};

// "[STEP:]N[-M]"
bool parseCounted(const QString& value, CountedFault& c) {
    QString counts = value;
    const qsizetype colon = value.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const QString step = value.left(colon);
        counts = value.mid(colon + 1);
        bool known = false;
        for (int p = 1; p < kPhaseCount; ++p) {
            if (step != QLatin1String(kPhaseNames[p])) continue;
            c.phase = static_cast<Phase>(p);
            known = true;
        }
        if (!known) return false;
    }
    const QStringList ends = counts.split(QLatin1Char('-'));
    if (ends.size() > 2 || !parseNumber(ends[0], 1, 1 << 30, c.first)) return false;
    c.last = c.first;
    if (ends.size() == 2 && (!parseNumber(ends[1], c.first, 1 << 30, c.last))) return false;
    return true;
}

QString countedText(const CountedFault& c) {
    QString s;
    if (c.phase != Phase::Any)
        s = QLatin1String(kPhaseNames[static_cast<int>(c.phase)]) + QLatin1Char(':');
    s += QString::number(c.first);
    if (c.last != c.first) s += QLatin1Char('-') + QString::number(c.last);
    return s;
}

}  // namespace

bool FaultPlan::hits(FaultKind kind, Phase phase, int total, int inPhase) const {
    for (const KindName& k : kKinds)
        if (k.kind == kind && k.single && this->*(k.single) == total) return true;
    for (const CountedFault& c : counted) {
        if (c.kind != kind) continue;
        if (c.phase != Phase::Any && c.phase != phase) continue;
        const int n = c.phase == Phase::Any ? total : inPhase;
        if (n >= c.first && n <= c.last) return true;
    }
    return false;
}

bool FaultPlan::stuckWord(uint16_t address) const {
    for (uint16_t a : stuck)
        if ((a & ~1u) == (address & ~1u)) return true;
    return false;
}

bool FaultPlan::parse(const QString& text, FaultPlan& out, QString* error) {
    FaultPlan plan = out;
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (items.isEmpty()) return fail(error, QStringLiteral("empty list of faults"));
    for (const QString& raw : items) {
        const QString item = raw.trimmed();
        if (item == QLatin1String("silent")) {
            plan.silent = true;
            continue;
        }
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        const QString key = item.left(eq);
        const QString value = eq < 0 ? QString() : item.mid(eq + 1);
        int n = 0;
        if (key == QLatin1String("id")) {
            if (!parseNumber(value, 0, 255, n))
                return fail(error, QStringLiteral("id needs a byte value, e.g. id=0x43"));
            plan.id = static_cast<uint8_t>(n);
            continue;
        }
        if (key == QLatin1String("slow")) {
            if (!parseNumber(value, 0, 1 << 30, n))
                return fail(error,
                            QStringLiteral("slow needs a whole number, got '%1'").arg(value));
            plan.slowMs = n;
            continue;
        }
        if (key == QLatin1String("stuck")) {
            if (!parseNumber(value, 0, kEEPromSize - 1, n))
                return fail(error, QStringLiteral("stuck needs an EEPROM address from 0 to "
                                                  "0x7ff, e.g. stuck=0x86"));
            plan.stuck.push_back(static_cast<uint16_t>(n));
            continue;
        }
        const KindName* kind = nullptr;
        for (const KindName& k : kKinds)
            if (key == QLatin1String(k.name)) kind = &k;
        if (!kind) return fail(error, QStringLiteral("unknown fault '%1'").arg(item));
        CountedFault c{kind->kind};
        if (!parseCounted(value, c))
            return fail(error, QStringLiteral("%1 needs a whole number from 1, got '%2' "
                                              "(or a range N-M, optionally after a step "
                                              "such as label:)")
                                   .arg(key, value));
        // A plain single count keeps its simple form; anything more is a counted item.
        const bool plain = c.phase == Phase::Any && c.first == c.last;
        if (plain && kind->single && plan.*(kind->single) == 0)
            plan.*(kind->single) = c.first;
        else
            plan.counted.push_back(c);
    }
    out = plan;
    return true;
}

QString FaultPlan::toString() const {
    QStringList parts;
    if (silent) parts << QStringLiteral("silent");
    if (id) parts << QStringLiteral("id=0x%1").arg(*id, 2, 16, QLatin1Char('0'));
    for (const KindName& k : kKinds)
        if (k.single && this->*(k.single) > 0)
            parts << QStringLiteral("%1=%2").arg(QLatin1String(k.name)).arg(this->*(k.single));
    for (const CountedFault& c : counted)
        for (const KindName& k : kKinds)
            if (k.kind == c.kind)
                parts << QLatin1String(k.name) + QLatin1Char('=') + countedText(c);
    for (uint16_t a : stuck) parts << QStringLiteral("stuck=0x%1").arg(a, 3, 16, QLatin1Char('0'));
    if (slowMs > 0) parts << QStringLiteral("slow=%1").arg(slowMs);
    return parts.join(QLatin1Char(','));
}

}  // namespace tav::sim
