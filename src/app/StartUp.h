// The start-up of the program as far as it goes without a window.
#pragma once

#include <cstdint>

#include "files/FileStatus.h"

namespace korvel {

// Chooses the language from the locale, loads the configuration and connects
// the capture to the plot. Nothing here can fail: a missing or damaged
// korvel.ini gives the defaults. Returns how korvel.ini was read: one that was
// refused (a pipe, a device, a file too large) is for the user to hear of.
FileStatus StartUp();

// The main window's first show: tells of a korvel.ini that start-up refused,
// sets the device up, and the first time shows the notice of the simulated
// source, before the plot is first drawn.
void SetUpDevice();

// Every completed capture redraws the main window's plots.
void ConnectCaptureToPlot();

}  // namespace korvel
