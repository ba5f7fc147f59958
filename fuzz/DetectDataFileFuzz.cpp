// Fuzz target: a data file of either kind, told apart by its first four bytes.
#include <cstddef>
#include <cstdint>

#include "DataFileFuzz.h"
#include "files/DataFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::fuzz::ReadDataFileInput(korvel::DataFileDetect, data, size);
    return 0;
}
