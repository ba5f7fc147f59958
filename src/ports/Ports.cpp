#include "ports/Ports.h"

#include "model/FieldNumbers.h"

namespace korvel {

namespace {
TimerHost NoTimers;
Controls NoTopBar, NoBottomBar, NoSpectrumTopBar, NoSpectrumBottomBar;
Frame NoFrame;
Dialogs NoDialogs;
Clipboard NoClipboard;
Instrument NoInstrument;
Exchange NoExchange;
}  // namespace

PortSet Ports{&NoTimers, &NoTopBar,  &NoBottomBar, &NoSpectrumTopBar, &NoSpectrumBottomBar,
              &NoFrame,  &NoDialogs, &NoClipboard, &NoInstrument,     &NoExchange};

bool ReadFieldCount(const Controls& controls, int32_t id, int32_t& count) {
    char text[256];
    controls.GetText(id, text, sizeof text);
    int32_t value = 0;
    if (!ScanInt(text, value) || value <= 0) return false;
    count = value;
    return true;
}

void ResetPorts() {
    Ports = PortSet{&NoTimers, &NoTopBar,  &NoBottomBar, &NoSpectrumTopBar, &NoSpectrumBottomBar,
                    &NoFrame,  &NoDialogs, &NoClipboard, &NoInstrument,     &NoExchange};
}

}  // namespace korvel
