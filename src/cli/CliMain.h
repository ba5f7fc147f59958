// korvel-cli: the command-line companion of the oscilloscope.
#pragma once

namespace korvel::cli {

// Runs the command line argv[1..]; returns the exit status.
int RunCli(int argc, char** argv);

}  // namespace korvel::cli
