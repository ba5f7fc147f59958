// Instruments through libsigrok (its C++ bindings): USB and network
// oscilloscopes, and the library's demo device, which the tests use for
// figures without hardware. One device is open at a time, with one analog
// channel enabled; each record runs a session of its own on a thread of its
// own (SigrokRecord). No libsigrok or GLib header is seen from here, so the
// window's files may include this one.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/sigrok/SigrokRecord.h"
#include "ports/Instrument.h"

namespace sigrok {
class Channel;
class Context;
class HardwareDevice;
}  // namespace sigrok

namespace korvel {

class SigrokInstrument : public Instrument {
  public:
    SigrokInstrument();
    SigrokInstrument(const SigrokInstrument&) = delete;
    SigrokInstrument& operator=(const SigrokInstrument&) = delete;
    ~SigrokInstrument() override;

    // Makes libsigrok's context at the process's first call; a context that
    // cannot be made is not tried again, and the error stays the same.
    bool Available(std::string& error) override;

    // With a driver: that driver's devices, at connection when one is given.
    // Without: the demo driver's device and those of every oscilloscope
    // driver that finds its devices by itself (USB, USBTMC); serial and
    // network instruments need their driver and connection named, and
    // logic analysers and meters are not asked at all, which keeps the scan
    // quick and quiet.
    std::vector<InstrumentDevice> Scan(const std::string& driver, const std::string& connection,
                                       std::string& error) override;

    // The device's sample-rate list stands in device.sampleRatesHz; the
    // rate in force is among them (SampleRateHz tells which).
    bool Open(const InstrumentChoice& choice, InstrumentDevice& device,
              std::string& error) override;
    void Close() override;

    // A record's time-out is 5 record lengths at the rate in force, at
    // least 3 s.
    bool Start(int32_t count, bool trigger, std::string& error) override;
    InstrumentPoll Poll(float* samples, std::string& error) override;
    void Cancel() override;

    // The rate in force on the open device, 0 when none is open or the
    // driver does not tell.
    uint64_t SampleRateHz() const { return sampleRateHz_; }

    // For figures known in advance from the demo device: the open
    // channel's wave ("square", "sine", "triangle", "sawtooth") and its
    // amplitude in volts (the wave swings from -amplitudeV to +amplitudeV).
    // libsigrok 0.5.2's demo keeps a square wave whole only at 10 V and
    // only on a channel that has not had another wave: otherwise it keeps
    // the old wave, or shrinks the square one by amplitude / 10 V every
    // 1020 samples.
    bool SetDemoPattern(const std::string& pattern, double amplitudeV, std::string& error);

    // For tests of the time-out: the time-out of the next records instead
    // of the one from the record's length; zero goes back to that.
    void SetRecordTimeout(std::chrono::milliseconds timeout) { timeoutOverride_ = timeout; }

  private:
    std::chrono::milliseconds RecordTimeout(int32_t count) const;
    bool SetTriggerSource(bool trigger, std::string& error);

    // The process's one context, shared by every instrument; held here so
    // that it outlives this instrument's device.
    std::shared_ptr<sigrok::Context> context_;

    std::shared_ptr<sigrok::HardwareDevice> device_;
    std::shared_ptr<sigrok::Channel> channel_;
    uint64_t sampleRateHz_ = 0;
    std::string externalSource_;  // the trigger source that waits for the trigger input
    std::string ownSource_;       // the one in force at Open, for records without it

    std::chrono::milliseconds timeoutOverride_{0};
    SigrokRecord record_;
};

}  // namespace korvel
