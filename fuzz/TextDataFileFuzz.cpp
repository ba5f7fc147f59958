// Fuzz target: the text data file (*.ktf).
#include <cstddef>
#include <cstdint>

#include "DataFileFuzz.h"
#include "files/DataFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::fuzz::ReadDataFileInput(korvel::DataFileText, data, size);
    return 0;
}
