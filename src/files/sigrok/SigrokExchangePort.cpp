#include "files/sigrok/SigrokExchangePort.h"

#include "files/sigrok/SigrokExchange.h"

namespace korvel {

Exchange& SigrokExchangePort() {
    static SigrokExchange exchange;
    return exchange;
}

}  // namespace korvel
