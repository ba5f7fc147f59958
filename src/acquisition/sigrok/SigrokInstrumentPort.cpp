#include "acquisition/sigrok/SigrokInstrumentPort.h"

#include "acquisition/sigrok/SigrokInstrument.h"

namespace korvel {

Instrument& SigrokInstrumentPort() {
    static SigrokInstrument instrument;
    return instrument;
}

}  // namespace korvel
