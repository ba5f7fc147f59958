#include "cli/CliBars.h"

#ifdef KORVEL_HAVE_SIGROK
#include "acquisition/sigrok/SigrokInstrumentPort.h"
#include "files/sigrok/SigrokExchangePort.h"
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

Exchange& Exchanges() {
#ifdef KORVEL_HAVE_SIGROK
    return SigrokExchangePort();
#else
    static Exchange none;
    return none;
#endif
}

}  // namespace korvel::cli
