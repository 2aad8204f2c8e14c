#include "model/LabelText.h"

#include "radio/LabelCode.h"

namespace tav {

QString LabelCellsText(const AppState& s, int group, int slot) {
    QString text;
    for (int k = 0; k < kLabelCells; ++k) text += strByteToChar(s.label(group, slot, k));
    return text;
}

QString ShownLabelText(const AppState& s, int group, int slot) {
    const QString text = LabelCellsText(s, group, slot);
    return text.isEmpty() ? kBlankLabel : text;
}

void StoreLabelText(AppState& s, int group, int slot, QString text) {
    for (int k = 0; k < kLabelCells; ++k) s.label(group, slot, k) = strLabToByte(text);
}

}  // namespace tav
