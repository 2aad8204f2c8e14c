// libFuzzer target: the channel CSV importer.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tav::fuzz::FuzzCsvImport(data, size);
}
