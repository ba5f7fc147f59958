// A float of volts, all a sigrok session holds, cannot carry every float of
// millivolts (VoltScale.h). So a session this program writes also holds each
// channel's samples as the program had them, in an entry of its own
// ("korvel/<channel>.mv": little-endian 32-bit floats) that other tools pass
// over. Reading a session back takes them, as long as they still agree with
// the session's own samples (a file another tool has changed since does not).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

// Adds the entry to the session archive in bytes. False (bytes as they
// were) when the archive cannot be opened or written.
bool AddExactMillivolts(std::string& bytes, const std::string& channel, const float* mv,
                        int32_t count);

// Replaces mv (read from the session's volts) by the entry's samples when the
// archive at path has one for channel and each of its samples gives back the
// one read. Leaves mv alone otherwise.
void TakeExactMillivolts(const std::string& path, const std::string& channel,
                         std::vector<float>& mv);

}  // namespace korvel
