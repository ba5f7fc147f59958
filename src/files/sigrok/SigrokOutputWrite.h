// Samples written through one of libsigrok's output modules (srzip, csv,
// wav) as a recording of a device of the program's making with one analog
// channel: a header, the rate, one packet of all the samples in volts, the
// end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

// The whole file in bytes. srzip writes to a file of its own, not to the
// stream: it writes into a private temporary folder, which is read back and
// removed.
bool WriteThroughOutput(const std::string& module, std::vector<float>& volts, uint64_t sampleRateHz,
                        const std::string& channel, std::string& bytes, std::string& error);

}  // namespace korvel
