#include "sim/FaultPlan.h"

#include <QStringList>

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

}  // namespace

bool FaultPlan::parse(const QString& spec, FaultPlan& out, QString* error) {
    FaultPlan plan = out;
    const QStringList items = spec.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (items.isEmpty()) return fail(error, QStringLiteral("empty fault specification"));
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
        struct Counted {
            const char* name;
            int FaultPlan::*field;
            int min;
        };
        static const Counted counted[] = {
            {"drop-reply", &FaultPlan::dropReply, 1},
            {"corrupt-reply", &FaultPlan::corruptReply, 1},
            {"drop-echo", &FaultPlan::dropEcho, 1},
            {"corrupt-echo", &FaultPlan::corruptEcho, 1},
            {"slow", &FaultPlan::slowMs, 0},
        };
        bool known = false;
        for (const Counted& c : counted) {
            if (key != QLatin1String(c.name)) continue;
            known = true;
            if (!parseNumber(value, c.min, 1 << 30, n))
                return fail(
                    error, QStringLiteral("%1 needs a whole number%2, got '%3'")
                               .arg(key, c.min > 0 ? QStringLiteral(" from 1") : QString(), value));
            plan.*(c.field) = n;
        }
        if (!known) return fail(error, QStringLiteral("unknown fault '%1'").arg(item));
    }
    out = plan;
    return true;
}

QString FaultPlan::toString() const {
    QStringList parts;
    if (silent) parts << QStringLiteral("silent");
    if (id) parts << QStringLiteral("id=0x%1").arg(*id, 2, 16, QLatin1Char('0'));
    const auto add = [&parts](const char* name, int v) {
        if (v > 0) parts << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(v);
    };
    add("drop-reply", dropReply);
    add("corrupt-reply", corruptReply);
    add("drop-echo", dropEcho);
    add("corrupt-echo", corruptEcho);
    add("slow", slowMs);
    return parts.join(QLatin1Char(','));
}

}  // namespace tav::sim
