// A WAV file read through libsigrok's wav input. WAV has no unit: its
// samples are taken as volts, full scale (1.0 in a float file, the largest
// code in an integer one, as libsigrok scales it) being 1 V, which is also
// how the program writes one.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Exchange.h"

struct sr_context;

namespace korvel {

// As Exchange::Read for ForeignFormat::Wav; head holds the file's first
// bytes (whole: all of them).
bool ReadSigrokWav(sr_context* context, const std::string& path, const std::string& head,
                   bool whole, const std::string& channel, int32_t maxSamples,
                   ForeignRecord& record, std::string& error);

}  // namespace korvel
