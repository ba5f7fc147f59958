#include "files/sigrok/SigrokWavRead.h"

#include <cstring>

#include "files/sigrok/SigrokInputRead.h"

namespace korvel {

namespace {

uint32_t Le32(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// Whether the header ends in a data chunk with nothing in it: libsigrok
// makes no device for such a file, as for a header it cannot read.
bool DataChunkEmpty(const std::string& head, bool whole) {
    size_t at = 12;
    while (at + 8 <= head.size()) {
        const uint32_t size = Le32(head.data() + at + 4);
        if (std::memcmp(head.data() + at, "data", 4) == 0)
            return size == 0 || (whole && at + 8 == head.size());
        at += 8 + static_cast<size_t>(size) + (size & 1);
    }
    return false;
}

}  // namespace

bool ReadSigrokWav(sr_context* context, const std::string& path, const std::string& head,
                   bool whole, const std::string& channel, int32_t maxSamples,
                   ForeignRecord& record, std::string& error) {
    if (head.size() < 12 || std::memcmp(head.data(), "RIFF", 4) != 0 ||
        std::memcmp(head.data() + 8, "WAVE", 4) != 0) {
        error = "not a WAV file";
        return false;
    }
    SigrokInputRequest request;
    request.module = "wav";
    request.channel = channel;
    request.maxSamples = maxSamples;
    request.unknownUnitScale = 1000.0;
    SigrokInputOutcome outcome;
    if (!ReadThroughInput(context, path, request, record, outcome, error)) {
        if (outcome.refused) {
            error = "a WAV file libsigrok cannot read (" + error + ")";
        } else if (!outcome.device) {
            error = DataChunkEmpty(head, whole) ? "no frames" : "a damaged WAV header";
        }
        return false;
    }
    if (record.totalSamples == 0) {
        error = "no frames";
        return false;
    }
    return true;
}

}  // namespace korvel
