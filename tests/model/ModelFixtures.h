#pragma once
// Pins each entry of a field's list to the bits the radio stores it as, worked out by hand.

#include <QtTest>
#include <functional>

#include "Fixtures.h"

namespace tav::test {

template <typename Controls>
struct FieldPin {
    const char* name;
    std::function<void(Controls&, int)> set;  // selects entry n
    std::function<int(const Controls&)> get;
    std::function<void(AppState&, Controls&)> write;  // the field's own write operation
    QStringList entries;                              // the list the control shows
    ImageBits bits;                                   // where the field lies
    QString bytes;  // "entry=hex|entry=hex|..." in list order, worked out by hand
};
template <typename Controls>
using Pins = QList<FieldPin<Controls>>;

template <typename Controls>
void addPinRows(const Pins<Controls>& pins) {
    QTest::addColumn<FieldPin<Controls>>("pin");
    for (const auto& p : pins) QTest::newRow(p.name) << p;
}

// The value a control of the field `key` holds.
template <typename Controls>
std::pair<std::function<void(Controls&, int)>, std::function<int(const Controls&)>> access(
    const char* key) {
    return {[key](Controls& c, int v) { c.fields.setNumber(key, v); },
            [key](const Controls& c) { return c.fields.number(key); }};
}

// Each entry, written over random images whose fields all decode (`image`),
// sets the field's bits to its byte and changes no other bit; read back
// (`read`), it is the entry again. An unselected list (-1) stays inside its bits too.
template <typename Controls>
void checkPin(const FieldPin<Controls>& pin, const std::function<AppState(quint32)>& image,
              const std::function<Controls(AppState&)>& read) {
    const QStringList rows = pin.bytes.split(u'|');
    QCOMPARE(pin.entries.size(), rows.size());
    AllowedBits ok;
    ok.add(pin.bits);
    for (int n = 0; n < rows.size(); ++n) {
        QCOMPARE(pin.entries[n], rows[n].section(u'=', 0, 0));
        for (quint32 seed : {1u, 2u}) {
            AppState s = image(seed * 100 + quint32(n));
            const AppState before = s;
            Controls c = read(s);
            pin.set(c, n);
            pin.write(s, c);
            QCOMPARE(byteAt(s, pin.bits) & pin.bits.mask,
                     rows[n].section(u'=', 1).toInt(nullptr, 16));
            QCOMPARE(strayChanges(before, s, ok), QString());
            QCOMPARE(pin.get(read(s)), n);
            pin.set(c, -1);
            pin.write(s, c);
            QCOMPARE(strayChanges(before, s, ok), QString());
        }
    }
}

}  // namespace tav::test
