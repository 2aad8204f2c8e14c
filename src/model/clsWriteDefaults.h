#pragma once
// Fills a group of the image with the editor's default channels and labels,
// so that an editor that has read nothing shows ready-made groups.

#include <cstdint>

#include "model/AppState.h"
#include "model/ChannelGrid.h"

namespace tav {

class clsWriteDefaults {
public:
    // Takes its group from state.NewGroupIndex. The grid, when given, gets
    // its current cell moved along as channel labels are written.
    explicit clsWriteDefaults(AppState& state, ChannelGrid* grid = nullptr);

    void WriteGroup();
    void WriteChannel(int16_t nGroup, int16_t nChannel);
    void WriteRXFreq(int16_t nGroup, int16_t nChannel);
    void WriteRXCG(int16_t nGroup, int16_t nChannel);
    void WriteTXFreq(int16_t nGroup, int16_t nChannel);
    void WriteTXCG(int16_t nGroup, int16_t nChannel);
    void WriteChanAlpha(int16_t nGroup, int16_t nChannel);
    void WriteGroupLabel(int16_t nGroup);

private:
    void writePair(int16_t nChannel, int offset, uint8_t first, uint8_t second);

    AppState& state_;
    ChannelGrid* grid_;
    const int16_t group_;
    int16_t page_;
};

}  // namespace tav
