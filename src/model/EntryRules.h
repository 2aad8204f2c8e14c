#pragma once
// Can the radio hold this value? One rule per kind of typed value, for every
// face that takes one (the channel grid and the group fields, CSV import, the
// command line): an entry the radio cannot hold exactly is refused with the
// reason, never stored as something else. An accepted entry comes back as the
// text the radio will show for it, so that what a window shows after an entry
// is what the saved file and the radio hold.

#include <QString>
#include <QValidator>
#include <functional>

namespace tav {

struct EntryVerdict {
    bool ok = false;
    QString normalized;  // accepted: the value as the radio shows it ("155.02500")
    QString reason;      // refused: why, e.g. "not a frequency in MHz"
};

// A frequency in MHz, read as the channel grid reads it (155025 is 155.025,
// a short entry such as 15.5 is 155), on the radio's raster and in its band,
// and one that the two frequency bytes hold. An empty text, "none" and 0 mean
// no frequency ("none").
EntryVerdict CheckFrequencyEntry(const QString& typed);

// A channel guard: a tone below 800 Hz with at most one decimal (from 800 Hz
// up the radio reads the bytes as a digital code), or "D" and three octal
// digits with "-" for inverted. An empty text and "none" mean no guard
// ("000.0").
EntryVerdict CheckGuardEntry(const QString& typed);

// A channel or group label: at most eight display cells of the display's
// characters, a "." after a character sharing its cell; letters become
// capitals as the display shows them ("h" has a lower-case form of its own).
// The normalized text has no blanks added after its end.
EntryVerdict CheckLabelEntry(const QString& typed);

// A hexadecimal number of at most `maxDigits` digits, shown in capitals; an
// empty text is taken (a box being cleared).
EntryVerdict CheckHexEntry(const QString& typed, int maxDigits);

// How a face names a refused entry: Rec Freq "155.0025": <reason>.
QString RefusalText(const QString& field, const QString& typed, const QString& reason);

// The typing rule of a text box that takes one kind of entry: a change the
// rule refuses is refused whole (the box keeps what it had) and `refused`
// hears the refused text and why; an accepted text is shown as the radio
// will show it.
class EntryValidator : public QValidator {
public:
    using Rule = std::function<EntryVerdict(const QString&)>;
    using Refused = std::function<void(const QString& typed, const QString& reason)>;
    EntryValidator(Rule rule, QObject* parent, Refused refused = {});
    State validate(QString& input, int& pos) const override;

private:
    Rule rule_;
    Refused refused_;
};

}  // namespace tav
