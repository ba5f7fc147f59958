#include "cli/CliBars.h"

#ifdef KORVEL_HAVE_SIGROK
#include "acquisition/sigrok/SigrokInstrumentPort.h"
#endif

namespace korvel::cli {

Instrument& Instruments() {
#ifdef KORVEL_HAVE_SIGROK
    return SigrokInstrumentPort();
#else
    static Instrument none;
    return none;
#endif
}

}  // namespace korvel::cli
