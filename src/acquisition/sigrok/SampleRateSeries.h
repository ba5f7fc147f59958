// The sample rates a device offers, as the user picks them. A driver lists
// its rates either one by one or as a range with a step (the demo device:
// 1 Hz to 1 GHz in steps of 1 Hz); a range of a billion rates is no list to
// pick from, so it becomes the 1-2-5 series within it.
#pragma once

#include <cstdint>
#include <vector>

namespace korvel {

// The rates 1, 2 and 5 times a power of ten from minHz to maxHz inclusive,
// ascending, keeping only those the step reaches from minHz (a step of 0
// keeps every one). Empty when minHz > maxHz.
std::vector<uint64_t> SampleRateSeries(uint64_t minHz, uint64_t maxHz, uint64_t stepHz);

}  // namespace korvel
