// libFuzzer target: the radio file loader and every reader of the image.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tav::fuzz::FuzzRadioFileLoader(data, size);
}
