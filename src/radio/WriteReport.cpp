#include "radio/WriteReport.h"

#include <QStringList>

#include "radio/clsTavCom.h"

namespace tav {

namespace {
bool pageMarked(const AppState& s, int page) {
    return (s.EEImage[static_cast<std::size_t>(pageFlagByte(page))] & pageFlagBit(page)) != 0;
}
}  // namespace

QString writeTallyLine(const WriteTally& t) {
    return QStringLiteral("%1 of %2 words written, %3 of %4 label characters written")
        .arg(t.wordsWritten)
        .arg(t.wordsConsidered)
        .arg(t.labelCharsWritten)
        .arg(t.labelCharsConsidered);
}

QString unwrittenGroupsMessage(const std::vector<int>& groups) {
    if (groups.empty()) return {};
    if (groups.size() == 1)
        return QStringLiteral(
                   "Group %1 is not configured for channel data in this radio; its channels "
                   "were not written.")
            .arg(groups.front());
    QStringList numbers;
    for (const int g : groups) numbers << QString::number(g);
    return QStringLiteral(
               "Groups %1 are not configured for channel data in this radio; their channels "
               "were not written.")
        .arg(numbers.join(QStringLiteral(", ")));
}

void reportUnwrittenGroups(Prompter& prompter, const std::vector<int>& groups) {
    const QString text = unwrittenGroupsMessage(groups);
    if (!text.isEmpty())
        prompter.show(text, QStringLiteral("Write Radio"), MsgButtons::Ok, MsgIcon::Exclamation);
}

bool imageSaysGroupUnheld(const AppState& s, int group) {
    if (group < 0 || group >= kGroupCount || pageMarked(s, GroupNumber::page(group))) return false;
    for (int page = 1; page < kPageCount; ++page)
        if (pageMarked(s, page)) return true;
    return false;
}

QString unheldGroupNotice(int group) {
    return QStringLiteral(
               "Group %1 is not configured for channel data in this radio; the radio does not "
               "hold its channels.")
        .arg(GroupNumber::toUser(group));
}

}  // namespace tav
