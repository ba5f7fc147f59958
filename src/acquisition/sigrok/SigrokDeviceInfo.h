// What KORVEL reads from a libsigrok device: its description for the Device
// dialog, the rates it offers, the rate in force and its trigger input.
// Each read asks the driver first whether it answers, and a driver that
// fails to answer leaves the figure out rather than the device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ports/Instrument.h"

namespace sigrok {
class HardwareDevice;
}  // namespace sigrok

namespace korvel {

// Driver, "vendor model version", connection, analog channels, rates and
// whether it has a trigger input of its own.
InstrumentDevice DescribeSigrokDevice(sigrok::HardwareDevice& device);

// The rates of the device's sample-rate list, ascending; a range becomes
// its 1-2-5 series. Empty when the driver lists none (some oscilloscopes
// set a time base instead).
std::vector<uint64_t> SigrokSampleRates(sigrok::HardwareDevice& device);

// Whether the device's list holds rateHz: one of its rates, or within its
// range and on its step. True when the driver lists no rates: then only
// setting the rate tells.
bool SigrokOffersRate(sigrok::HardwareDevice& device, uint64_t rateHz);

// The rate in force, 0 when the driver does not tell.
uint64_t SigrokSampleRate(sigrok::HardwareDevice& device);

// The trigger source that is the device's external trigger input ("EXT",
// "Ext", "EXT/5"), "" when it lists none. A device with an external clock
// input only does not count: that clocks the samples, it does not start a
// record.
std::string SigrokExternalTriggerSource(sigrok::HardwareDevice& device);

// The trigger source in force, "" when the driver does not tell.
std::string SigrokTriggerSource(sigrok::HardwareDevice& device);

}  // namespace korvel
