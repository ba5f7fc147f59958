// A sigrok session file (.sr, a zip archive) read through libsigrok's
// session loader, which replays it as the device that recorded it.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Exchange.h"

struct sr_context;

namespace korvel {

// As Exchange::Read for ForeignFormat::Session. The file is known to be a
// regular file that is not empty, and head holds its first bytes.
bool ReadSigrokSession(sr_context* context, const std::string& path, const std::string& head,
                       const std::string& channel, int32_t maxSamples, ForeignRecord& record,
                       std::string& error);

}  // namespace korvel
