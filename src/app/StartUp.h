// The start-up of the program as far as it goes without a window.
#pragma once

#include <cstdint>

namespace korvel {

// Chooses the language from the locale, loads the configuration and connects
// the capture to the plot. Nothing here can fail: a missing or damaged
// korvel.ini gives the defaults.
void StartUp();

// The main window's first show: sets the device up, and the first time shows
// the notice of the simulated source, before the plot is first drawn.
void SetUpDevice();

// Every completed capture redraws the main window's plots.
void ConnectCaptureToPlot();

}  // namespace korvel
