// What the radio can hold, per kind of entry: the text it will show for an
// accepted entry, the reason for a refused one.

#include <QtTest>

#include "TestMain.h"
#include "model/EntryRules.h"

using namespace tav;
using tav::test::textRows;

namespace {

const char* const kCannotHold =
    "the radio cannot hold this frequency (5 kHz steps, or 6.25 kHz and 12.5 kHz offsets)";
const char* const kNotGuard =
    "not a channel guard (a tone such as 067.0 below 800 Hz, or a digital code such as D023 or "
    "D023-)";

// Kind|typed|shown, or kind|typed|!reason for a refused entry ("!hold" and
// "!guard" stand for the two long reasons).
EntryVerdict check(const QString& kind, const QString& typed) {
    if (kind == u'f') return CheckFrequencyEntry(typed);
    if (kind == u'g') return CheckGuardEntry(typed);
    return CheckLabelEntry(typed);
}

}  // namespace

class TestEntryRules : public QObject {
    Q_OBJECT

private slots:
    void verdicts_data() {
        textRows(
            "f|155.0025|!hold;f|155.0075|!hold;f|1550025|!hold;f|155.00625|155.00625;"
            "f|155.0125|155.01250;f|155.0375|155.03750;f|155.025|155.02500;f|15.5|155.00000;"
            "f|155005|155.00500;f|none|none;f|NONE|none;f||none;f|0|none;"
            "f|155.003125|!not on the 2.5 kHz or 6.25 kHz channel raster;"
            "f|180|!outside the band 143 to 174 MHz;f|155.1234567|!too many digits;"
            "f|abc|!not a frequency in MHz;"
            "g|D999|!guard;g|D080|!guard;g|c|!guard;g|1600|!guard;g|800|!guard;g|D02|!guard;"
            "g|67.05|!guard;g|-67|!guard;g|d023-|D023-;g|D754|D754;g|67|067.0;g| 799.9 |799.9;"
            "g|0|000.0;g|none|000.0;g||000.0;"
            "l|lower~\u00e9{}|!\"~\" is not a character of the radio's display;"
            "l|ab\u00e9|!\"\u00e9\" is not a character of the radio's display;"
            "l|abcdefghi|!longer than 8 display cells;l|.A|!\".\" is not a character of the "
            "radio's display;l|fire.2|FIRE.2;l|h H|h H;l|a.b.c.d.e.f.g.h.|A.B.C.D.E.F.G.h.;"
            "l|-*$/+%\\_|-*$/+%\\_;l|<> |<> ;l||");
    }
    void verdicts() {
        QFETCH(QStringList, row);
        const EntryVerdict v = check(row[0], row[1]);
        QString expected = row[2];
        if (expected == "!hold") expected = QString("!") + kCannotHold;
        if (expected == "!guard") expected = QString("!") + kNotGuard;
        QCOMPARE(v.ok ? v.normalized : u'!' + v.reason, expected);
        QCOMPARE(v.ok ? v.reason : v.normalized, QString());
    }

    // A box takes what the rule accepts, shown as the radio shows it, and
    // refuses the rest whole, saying why.
    void validatorRefusesWholeAndNormalizes_data() {
        textRows("abc|ABC|;ab~|ab~|\"~\" is not a character of the radio's display");
    }
    void validatorRefusesWholeAndNormalizes() {
        QFETCH(QStringList, row);
        QStringList heard;
        EntryValidator v(CheckLabelEntry, nullptr,
                         [&](const QString& typed, const QString& why) { heard << typed << why; });
        QString input = row[0];
        int pos = 0;
        QCOMPARE(v.validate(input, pos),
                 row[2].isEmpty() ? QValidator::Acceptable : QValidator::Invalid);
        QCOMPARE(input, row[1]);
        QCOMPARE(heard, row[2].isEmpty() ? QStringList() : (QStringList{row[0], row[2]}));
    }
};

TAV_TEST_GUILESS(TestEntryRules);
#include "tst_entryrules.moc"
