// Fuzz target: the binary data file (*.kbf).
#include <cstddef>
#include <cstdint>

#include "DataFileFuzz.h"
#include "files/DataFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::fuzz::ReadDataFileInput(korvel::DataFileBinary, data, size);
    return 0;
}
