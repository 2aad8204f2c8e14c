#include "model/clsWriteDefaults.h"

#include <QString>

#include "model/LabelText.h"
#include "model/MGlobals.h"

namespace tav {

namespace {
constexpr int kLabelColumn = 5;
// Backlight byte of a fresh group: alpha display on, timeout "Always Off", no triggers.
constexpr uint8_t kDefaultBacklight = 0x01;

// A whole number as text with a blank in place of the sign when it is not
// negative: 1 gives " 1", so "Ch" + " " + " 1" fills five cells.
QString signedNumberText(int n) {
    return (n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n);
}
}  // namespace

clsWriteDefaults::clsWriteDefaults(AppState& state, ChannelGrid* grid)
    : state_(state), grid_(grid), group_(state.NewGroupIndex), page_(GroupPage(group_)) {}

void clsWriteDefaults::WriteGroup() {
    WriteGroupLabel(group_);
    for (int16_t c = 0; c < kChannelsPerGroup; ++c) WriteChannel(group_, c);
}

void clsWriteDefaults::WriteChannel(int16_t nGroup, int16_t nChannel) {
    page_ = GroupPage(nGroup);
    WriteRXFreq(nGroup, nChannel);
    WriteRXCG(nGroup, nChannel);
    WriteTXFreq(nGroup, nChannel);
    WriteTXCG(nGroup, nChannel);
    WriteChanAlpha(nGroup, nChannel);
}

void clsWriteDefaults::writePair(int16_t nChannel, int offset, uint8_t first, uint8_t second) {
    const int16_t a = static_cast<int16_t>(channelRecord(nChannel) + offset);
    WriteByte(state_, page_, a, 0xFF, first);
    WriteByte(state_, page_, int16_t(a + 1), 0xFF, second);
}

// 162.400 MHz plus 5 kHz per channel: the 5 kHz flag on odd channels.
void clsWriteDefaults::WriteRXFreq(int16_t nGroup, int16_t nChannel) {
    page_ = GroupPage(nGroup);
    writePair(nChannel, 0, (nChannel % 2) ? 0xE2 : 0x62, static_cast<uint8_t>(0x40 + nChannel / 2));
}

void clsWriteDefaults::WriteRXCG(int16_t nGroup, int16_t nChannel) {
    page_ = GroupPage(nGroup);
    writePair(nChannel, 2, 0, 0);
}

void clsWriteDefaults::WriteTXFreq(int16_t nGroup, int16_t nChannel) {
    page_ = GroupPage(nGroup);
    writePair(nChannel, 4, 0, 0);
}

void clsWriteDefaults::WriteTXCG(int16_t nGroup, int16_t nChannel) {
    page_ = GroupPage(nGroup);
    writePair(nChannel, 6, 0, 0);
}

void clsWriteDefaults::WriteChanAlpha(int16_t nGroup, int16_t nChannel) {
    if (grid_) grid_->setCurrentCell(kLabelColumn, nChannel);
    StoreLabelText(state_, nGroup, nChannel,
                   QStringLiteral("Ch ") + signedNumberText(nChannel + 1));
}

void clsWriteDefaults::WriteGroupLabel(int16_t nGroup) {
    StoreLabelText(state_, nGroup, kGroupLabelSlot,
                   QStringLiteral("GROUP") + signedNumberText(GroupNumber::toUser(nGroup)));
    for (int k = 0; k < kLabelCells - 1; ++k) state_.label(nGroup, kBacklightSlot, k) = 0;
    state_.label(nGroup, kBacklightSlot, kBacklightCell) = kDefaultBacklight;
}

}  // namespace tav
