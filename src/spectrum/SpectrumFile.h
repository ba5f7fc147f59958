// The spectrum file (*.ksf): the shown bins as plain text, one line per bin
// with its frequency in kHz and its power in mV², after a few comment lines
// starting with '#' that say where the spectrum came from. Both numbers are
// written with nine significant digits, so a float reads back as the same
// float.
#pragma once

#include <string>

namespace korvel {

// The file's text for the bins that the spectrum window shows.
std::string FormatSpectrumFile();

// The Save command of the spectrum window: asks for a file name and writes
// the shown spectrum there, replacing the file in one step. Refused while the
// continuous run goes on; a file that cannot be written is reported.
void SaveSpectrum();

}  // namespace korvel
