#include "ports/Ports.h"

namespace korvel {

namespace {
TimerHost NoTimers;
Controls NoTopBar, NoBottomBar, NoSpectrumTopBar, NoSpectrumBottomBar;
Frame NoFrame;
Dialogs NoDialogs;
Clipboard NoClipboard;
}  // namespace

PortSet Ports{&NoTimers, &NoTopBar,  &NoBottomBar, &NoSpectrumTopBar, &NoSpectrumBottomBar,
              &NoFrame,  &NoDialogs, &NoClipboard};

void ResetPorts() {
    Ports = PortSet{&NoTimers, &NoTopBar,  &NoBottomBar, &NoSpectrumTopBar, &NoSpectrumBottomBar,
                    &NoFrame,  &NoDialogs, &NoClipboard};
}

}  // namespace korvel
