// libFuzzer target: the fleet's plan file.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tav::fuzz::FuzzFleetPlan(data, size);
}
