#include "files/sigrok/WavSizes.h"

#include <cstdint>
#include <cstring>

namespace korvel {

namespace {

uint32_t Le32(const std::string& bytes, size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

void SetLe32(std::string& bytes, size_t at, uint64_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

void SetWavSizes(std::string& wav) {
    if (wav.size() < 12 || wav.compare(0, 4, "RIFF") != 0 || wav.compare(8, 4, "WAVE") != 0) return;
    if (wav.size() - 8 > UINT32_MAX) return;
    size_t at = 12;
    while (at + 8 <= wav.size()) {
        if (wav.compare(at, 4, "data") == 0) {
            SetLe32(wav, 4, wav.size() - 8);
            SetLe32(wav, at + 4, wav.size() - at - 8);
            return;
        }
        const uint32_t size = Le32(wav, at + 4);
        if (size == UINT32_MAX) return;
        at += 8 + static_cast<size_t>(size) + (size & 1);
    }
}

}  // namespace korvel
