// A measuring instrument as the capture engine sees it: a USB or network
// oscilloscope, or libsigrok's demo device, reached through libsigrok on a
// thread of its own. The engine starts a record, polls for it on a timer
// tick and may cancel it; no call here waits for a record, so the window
// never freezes. The default implementation has no instruments at all (a
// build, or a machine, without libsigrok): the simulated card goes on as ever.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

// A device a scan found.
struct InstrumentDevice {
    std::string driver;                   // libsigrok's driver name: "demo", "rigol-ds"
    std::string model;                    // vendor, model and version as the driver names them
    std::string connection;               // "tcp-raw/192.0.2.1/5555", "usb/1.4"; "" when none
    std::vector<std::string> channels;    // its analog channels: "A0", "CH1"
    std::vector<uint64_t> sampleRatesHz;  // the rates it offers, ascending
    bool externalTrigger = false;         // it can wait for a trigger of its own
    uint64_t sampleRateHz = 0;            // once opened: the rate in force
};

// The source the user chose: an instrument by driver (and connection, for
// drivers that need one), one analog channel and a sample rate. An empty
// driver is the simulated card.
struct InstrumentChoice {
    std::string driver;
    std::string connection;
    std::string channel;        // "" for the device's first analog channel
    uint64_t sampleRateHz = 0;  // 0 for the device's own
    bool IsSimulated() const { return driver.empty(); }
};

enum class InstrumentPoll : int32_t {
    Running,  // the record is not complete yet
    Ready,    // the record is in the caller's buffer
    Failed,   // no record will come: the error says why
};

class Instrument {
  public:
    virtual ~Instrument() = default;

    // False when instruments cannot be used at all (no libsigrok); error says why.
    virtual bool Available(std::string& error) {
        error = "this build of KORVEL has no instrument support (libsigrok)";
        return false;
    }

    // Looks for devices: with every driver that needs no connection string, or
    // with one driver (and its connection string). Takes seconds for some
    // drivers; the caller runs it where waiting is no harm.
    virtual std::vector<InstrumentDevice> Scan(const std::string& /*driver*/,
                                               const std::string& /*connection*/,
                                               std::string& error) {
        Available(error);
        return {};
    }

    // Opens the device chosen, selects its channel and sets the sample rate.
    // Any device open before is closed first. On success device describes it
    // (the rate in force among its rates); false when it is not found or
    // refuses a setting, with error saying which.
    virtual bool Open(const InstrumentChoice& /*choice*/, InstrumentDevice& /*device*/,
                      std::string& error) {
        Available(error);
        return false;
    }

    // Stops whatever runs and closes the device. Harmless when none is open.
    virtual void Close() {}

    // Starts one record of count samples; with trigger, the device waits for
    // its own trigger first. Returns at once. False when it cannot start.
    virtual bool Start(int32_t /*count*/, bool /*trigger*/, std::string& error) {
        Available(error);
        return false;
    }

    // Ready: the record's count samples, in millivolts, are in samples (room
    // for count floats). Failed: the device vanished, refused, or delivered
    // no record within a few record lengths; error says which. Running: not
    // yet. Never waits.
    virtual InstrumentPoll Poll(float* /*samples*/, std::string& error) {
        Available(error);
        return InstrumentPoll::Failed;
    }

    // Stops the record under way and returns once the device has stopped.
    virtual void Cancel() {}
};

}  // namespace korvel
