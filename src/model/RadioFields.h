#pragma once
// The whole image as named fields, decoded through the field table: the unit
// parameters, then for each group its parameters and its 14 channels. List
// fields carry their list's text, check boxes "0" or "1".
//
// Every field also names the image bits it is decoded from. A comparison uses
// them to tell which changed bytes its field differences account for, so that
// a change no field shows (a bit the editor never decodes, or two byte values
// that decode to the same text) is still reported.

#include <QString>
#include <cstdint>
#include <vector>

#include "model/AppState.h"
#include "model/FieldTable.h"

namespace tav {

enum class FieldKind {
    Text,   // a value or a list's entry
    Label,  // free text of the radio's display; may have blanks at either end
    Check,  // "0" or "1"
};

struct RadioField {
    int group = -1;    // group index 0..14; -1 for a unit field
    int channel = -1;  // channel index 0..13; -1 for a unit or group field
    QString name;      // as people read it: "Rx Freq", "Priority Rate"
    QString key;       // for machines: "rx_freq", "priority_rate"
    FieldKind kind = FieldKind::Text;
    QString value;
    std::vector<ImageBits> bits;

    // "unit", "group 3" or "group 3 channel 5" (numbers as the user sees them).
    QString place() const;
};

// Every field of the image in a fixed order: unit fields, then group 1's
// fields followed by its channels 1 to 14 (each channel's fields in the order
// Rx Freq, Rx CG, Tx Freq, Tx CG, Label, Scan, Narrow, Low Power), then
// group 2 and so on. Group 15's channels have no Low Power field: the radio
// has no power setting for them.
std::vector<RadioField> ListRadioFields(const AppState& state);

// Names of a channel's fields, in the order above; these are also the CSV
// column names after "Group" and "Channel".
namespace channel_fields {
inline const QString kRxFreq = QStringLiteral("Rx Freq");
inline const QString kRxCG = QStringLiteral("Rx CG");
inline const QString kTxFreq = QStringLiteral("Tx Freq");
inline const QString kTxCG = QStringLiteral("Tx CG");
inline const QString kLabel = QStringLiteral("Label");
inline const QString kScan = QStringLiteral("Scan");
inline const QString kNarrow = QStringLiteral("Narrow");
inline const QString kLowPower = QStringLiteral("Low Power");
}  // namespace channel_fields

}  // namespace tav
