// Reference pictures of the plots, kept as run-length files in tests/data.
//
// Regenerate them after an intended change of the drawing with
//     KORVEL_WRITE_GOLDEN=1 ctest --preset default -R Golden
// and look at the pictures before committing them: each test also writes
// its picture as <name>.ppm into the system's temporary folder (convert it
// with "convert x.ppm x.png" to view it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel::test {

struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0xFFRRGGBB, rows of width
};

// File: "KORVRLE2"; width, height and the number of colours (at most 256) as
// little-endian uint32; the colours as uint32; then runs until width x
// height pixels: the run's length as a base-128 number (low 7 bits first,
// the high bit set on every byte but the last) and its colour's index byte.
bool WriteRunLength(const std::string& path, const Image& image);
bool ReadRunLength(const std::string& path, Image& image);
bool WritePpm(const std::string& path, const Image& image);

}  // namespace korvel::test
