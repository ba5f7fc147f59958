// Choosing the source of records: the Device dialog's OK, the frequency list
// while an instrument is the source, and the source the window starts with
// (the last run's, or the one --device names).
#pragma once

#include <cstdint>
#include <string>

#include "ports/Instrument.h"

namespace korvel {

// Makes choice the source. The frequency list, the time scale and the title
// follow it. An instrument that cannot be opened is told (the simulated card
// is the source then). With remember, the choice is saved for the next run.
// Does nothing while a periodic capture runs; a capture under way is
// cancelled first. True when choice is the source now.
bool SelectSource(const InstrumentChoice& choice, bool remember);

// The source to open at the window's first show (SetUpDevice); start-up puts
// the last run's there, --device its own.
void SetStartSource(const InstrumentChoice& choice);
const InstrumentChoice& StartSource();

// The frequency list while an instrument is the source: its sample rates,
// the rate in force selected.
void ShowInstrumentRates();

// An entry of that list chosen: the instrument is set to that rate.
void InstrumentRateSelected(int32_t index);

// A device as the Device dialog lists it: "demo: Demo device (connection)".
std::string DeviceEntryText(const InstrumentDevice& device);

// The main window's title: "KORVEL Oscillograph Release 1.05", and with an
// instrument its name after a dash.
void ShowSourceInTitle();

}  // namespace korvel
