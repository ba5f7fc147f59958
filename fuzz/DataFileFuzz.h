// The one body of the three data-file targets, which differ only in the mode
// the file is read in.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel::fuzz {

// Reads data as a data file in mode (1 text, 2 binary, 3 detect); an
// accepted record must be usable and is then shown, a refused one must leave
// the shown record as it was.
void ReadDataFileInput(int32_t mode, const uint8_t* data, size_t size);

}  // namespace korvel::fuzz
