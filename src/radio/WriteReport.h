#pragma once
// What a write tells the technician beyond success: how much a changed-only
// write sent, and the groups whose channels it could not send because the
// radio is not configured for them. One wording for the editor and tavctl.

#include <QString>
#include <vector>

#include "app/Ports.h"
#include "model/AppState.h"

namespace tav {

struct WriteTally;

// "N of M words written, K of L label characters written".
QString writeTallyLine(const WriteTally& t);

// The message naming groups (numbers 1 to 15) that the radio is not
// configured for and whose channels were therefore not written; empty for none.
QString unwrittenGroupsMessage(const std::vector<int>& groups);
// Shows that message, when there is one, as the last word of a whole write.
void reportUnwrittenGroups(Prompter& prompter, const std::vector<int>& groups);

// Whether the image, as read from a radio, says that the radio holds no
// channel data for group index `group` (0 to 14). An image that marks no
// group at all (the editor's defaults, never read from a radio) says nothing.
bool imageSaysGroupUnheld(const AppState& s, int group);
// The window's standing note while such a group is shown.
QString unheldGroupNotice(int group);

}  // namespace tav
