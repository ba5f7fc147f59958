// The subcommands of korvel-cli. Each takes the words after its name, prints
// its help for --help, and returns the exit status; faults are CliErrors.
#pragma once

#include "cli/CliArguments.h"

namespace korvel::cli {

int RunCapture(Arguments& args);
int RunInfo(Arguments& args);
int RunConvert(Arguments& args);
int RunSpectrum(Arguments& args);
int RunPlot(Arguments& args);
int RunConfig(Arguments& args);
int RunDevices(Arguments& args);

// Writes text to the standard output whole; a failed write (a full disk, a
// closed pipe) is a failure of the command.
void WriteOut(const std::string& text);

// The format a data file name asks for: 1 text (.ktf), 2 binary (.kbf).
int32_t FormatOfName(const std::string& path);

}  // namespace korvel::cli
