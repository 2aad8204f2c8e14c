#include "model/LabelText.h"

#include "model/LabelCode.h"

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

QString LabelTextProblem(const QString& text) {
    QString rest = text;
    int cells = 0;
    while (!rest.isEmpty()) {
        const qsizetype before = rest.size();
        const uint8_t byte = strLabToByte(rest);
        // What the display shows must be what was typed, capitals aside.
        const QString used = text.mid(text.size() - before, before - rest.size());
        QString expected = used;
        for (QChar& c : expected)
            if (c != u'h' && c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
        if (strByteToChar(byte) != expected) {
            const QString bad = used.startsWith(u'.')
                                    ? QStringLiteral(".")
                                    : used.left(used.front().isHighSurrogate() ? 2 : 1);
            return QStringLiteral("\"%1\" is not a character of the radio's display").arg(bad);
        }
        ++cells;
    }
    if (cells > kLabelCells) return QStringLiteral("longer than %1 display cells").arg(kLabelCells);
    return QString();
}

}  // namespace tav
