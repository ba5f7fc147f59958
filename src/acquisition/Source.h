// The source of the records a capture takes: the simulated card (the
// default, as ever) or an instrument through the instrument port. With an
// instrument, a record is Num_Data samples of its one chosen analog channel
// in millivolts, SamplePeriod is one over its sample rate, Conversion is 1
// (the samples are millivolts already) and the level of zero is subtracted as
// for the card; Amplitude, the clock and the dividers are the card's and wait
// unused until it is chosen again.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Instrument.h"

namespace korvel {

struct SourceRecord {
    InstrumentChoice choice;  // an empty driver: the simulated card
    InstrumentDevice device;  // the instrument as it was opened
};

extern SourceRecord Source;

inline bool InstrumentInUse() {
    return !Source.choice.IsSimulated();
}

// Makes choice the source: the simulated card at once, an instrument once it
// has opened with its channel and rate (SamplePeriod follows, unless a data
// file is shown). When an instrument cannot be opened the simulated card is
// the source and error says why.
bool UseSource(const InstrumentChoice& choice, std::string& error);

// The source for the title and the notice: "Simulated card", or the driver,
// model, channel and rate of the instrument ("demo: Demo device, A0, 1 MHz").
std::string SourceName();

// A sample rate as the lists show it: "1 MHz", "250 kHz", "20 Hz".
std::string RateText(uint64_t hz);

// A capture leaves a shown data file first: the record is the source's again,
// of the full length, at the source's time step, from time 0.
void LeaveFileView();

// Called at every plot refresh: DeviceVersion 255 and the source's
// conversion: Amplitude / 256 for the simulated card (so a binary file's own
// conversion lasts until the next drawing), 1 for an instrument.
void RefreshConversion();

// Back to the simulated card without touching any device (a reset).
void ResetSource();

}  // namespace korvel
