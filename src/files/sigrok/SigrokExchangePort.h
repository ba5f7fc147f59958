// The process's one exchange of other tools' files through libsigrok, for
// the program to install as its exchange port. No libsigrok or GLib header
// is seen from here.
#pragma once

#include "ports/Exchange.h"

namespace korvel {

Exchange& SigrokExchangePort();

}  // namespace korvel
