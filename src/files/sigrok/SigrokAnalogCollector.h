// One analog channel taken from a libsigrok datafeed, as the packets of a
// session file or an input module arrive: its first samples, in millivolts,
// up to a limit, and the count of all of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sigrok {
class Packet;
}  // namespace sigrok

namespace korvel {

class SigrokAnalogCollector {
  public:
    // Packets of channel (libsigrok's name) are taken; maxSamples of them
    // are kept. A packet whose unit libsigrok does not know (the WAV and
    // CSV modules send none) is scale times millivolts; volts are 1000
    // times.
    SigrokAnalogCollector(std::string channel, int32_t maxSamples, double unknownUnitScale);

    // For a datafeed callback: it is called from libsigrok's C code, so
    // nothing escapes from it; a failure stays in Failure().
    void Receive(const std::shared_ptr<sigrok::Packet>& packet);

    const std::vector<float>& SamplesMv() const { return samplesMv_; }
    std::vector<float>& SamplesMv() { return samplesMv_; }
    uint64_t Total() const { return total_; }
    // The rate of the latest meta packet that told one, 0 when none did.
    uint64_t SampleRateHz() const { return sampleRateHz_; }
    const std::string& Failure() const { return failure_; }

  private:
    std::string channel_;
    size_t maxSamples_;
    double unknownUnitScale_;
    std::vector<float> samplesMv_;
    std::vector<float> packet_;  // one packet's values, all its channels
    uint64_t total_ = 0;
    uint64_t sampleRateHz_ = 0;
    std::string failure_;
};

}  // namespace korvel
