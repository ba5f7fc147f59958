// The start-up of the program as far as it goes without a window.
#pragma once

#include <cstdint>

namespace korvel {

// Chooses the language from the locale and loads the configuration. A non-zero
// result means the settings could not be set up and the program must end.
int32_t StartUp();

// The main window's first show: sets the device up, and the first time shows
// the notice of the simulated source, before the plot is first drawn.
void SetUpDevice();

// Every completed capture redraws the main window's plots.
void ConnectCaptureToPlot();

}  // namespace korvel
