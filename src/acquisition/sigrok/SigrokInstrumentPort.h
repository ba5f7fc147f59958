// The process's one libsigrok instrument, for the program to install as its
// instrument port. It lives until the process ends; its destructor stops a
// record under way and closes the device.
#pragma once

#include "ports/Instrument.h"

namespace korvel {

Instrument& SigrokInstrumentPort();

}  // namespace korvel
