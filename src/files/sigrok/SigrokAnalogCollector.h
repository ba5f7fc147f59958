// One analog channel taken from a libsigrok datafeed, as the packets of a
// session file or an input module arrive: its first samples, in millivolts,
// up to a limit, and the count of all of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sr_channel;
struct sr_datafeed_packet;
struct sr_dev_inst;

namespace korvel {

class SigrokAnalogCollector {
  public:
    // Packets of channel are taken; maxSamples of their samples are kept. A
    // packet without a unit (the WAV and CSV modules send none) holds scale
    // times millivolts; one in volts 1000 times.
    SigrokAnalogCollector(const sr_channel* channel, int32_t maxSamples, double unknownUnitScale);

    // libsigrok's datafeed callback; data is the collector. Called from C:
    // nothing escapes from it; a failure stays in Failure().
    static void Feed(const sr_dev_inst* device, const sr_datafeed_packet* packet, void* data);

    std::vector<float>& SamplesMv() { return samplesMv_; }
    uint64_t Total() const { return total_; }
    // The rate of the latest meta packet that told one, 0 when none did.
    uint64_t SampleRateHz() const { return sampleRateHz_; }
    const std::string& Failure() const { return failure_; }

  private:
    void Receive(const sr_datafeed_packet& packet);

    const sr_channel* channel_;
    size_t maxSamples_;
    double unknownUnitScale_;
    std::vector<float> samplesMv_;
    std::vector<float> packet_;  // one packet's values, all its channels
    uint64_t total_ = 0;
    uint64_t sampleRateHz_ = 0;
    std::string failure_;
};

}  // namespace korvel
