// The source of records between runs: device.conf beside korvel.ini holds one
// line, the source as --device takes it ("simulated", "demo",
// "rigol-ds:conn=tcp-raw/192.0.2.1/5555:channel=CH1:samplerate=1M"), so the
// window starts with the instrument it last used. korvel.ini keeps its fixed
// binary records and knows nothing of it.
#pragma once

#include <string>

#include "files/FileStatus.h"
#include "ports/Instrument.h"

namespace korvel {

// DRIVER[:conn=CONNECTION][:channel=NAME][:samplerate=RATE], or "simulated"
// (or nothing) for the simulated card. A rate is a whole number of hertz
// with an optional k, M or G and an optional "Hz": 1M, 250k, 500000Hz.
// False, with error saying what is wrong, for anything else.
bool ParseDeviceChoice(const std::string& text, InstrumentChoice& choice, std::string& error);

// The text that ParseDeviceChoice reads back as choice.
std::string DeviceChoiceText(const InstrumentChoice& choice);

// A rate as that text writes it: "1M", "250k", "44100".
std::string ShortRateText(uint64_t hz);
// A rate as that text reads it; false when text is none.
bool ParseRate(const std::string& text, uint64_t& hz);

// $XDG_CONFIG_HOME/korvel/device.conf (beside korvel.ini).
std::string DeviceFilePath();

// The source saved by the last run; the simulated card when there is none or
// it cannot be read (a damaged file is as good as none).
InstrumentChoice LoadDeviceChoice();

// Saves choice for the next run, as every file is replaced.
FileStatus SaveDeviceChoice(const InstrumentChoice& choice);

}  // namespace korvel
