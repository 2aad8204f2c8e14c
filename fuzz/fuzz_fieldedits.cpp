// libFuzzer target: field paths and the JSON edits of tavctl apply.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tav::fuzz::FuzzFieldEdits(data, size);
}
