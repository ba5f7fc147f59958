#include "cli/CliMain.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliBars.h"
#include "cli/CliCommands.h"

namespace korvel::cli {

namespace {

constexpr const char* MainHelp =
    "Usage: korvel-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "The command-line companion of the KORVEL oscilloscope: the same capture,\n"
    "files, measurements and pictures as the window, for scripts.\n"
    "\n"
    "Commands:\n"
    "  capture   one manual capture from the simulated source or an instrument\n"
    "  devices   the instruments found (USB, network, the demo device)\n"
    "  info      samples, times and measurements of a data file\n"
    "  convert   a data file between its text and binary forms\n"
    "  spectrum  the power spectrum of a data file, as a .ksf spectrum file\n"
    "  plot      the oscillogram of a data file as a PNG picture\n"
    "  config    show or change the saved settings (korvel.ini)\n"
    "\n"
    "'korvel-cli COMMAND --help' tells a command's arguments. A data file named -\n"
    "is read from the standard input; -- ends the options (for names beginning with -).\n"
    "Besides .ktf and .kbf, data files may be sigrok sessions (.sr), CSV and WAV\n"
    "files; --channel NAME picks one analog channel of those.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 a wrong command line.\n";

struct Command {
    const char* name;
    int (*run)(Arguments&);
};

constexpr Command Commands[] = {
    {"capture", RunCapture},   {"info", RunInfo}, {"convert", RunConvert},
    {"spectrum", RunSpectrum}, {"plot", RunPlot}, {"config", RunConfig},
    {"devices", RunDevices},
};

}  // namespace

int RunCli(int argc, char** argv) {
    std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
    if (words.empty()) {
        std::fputs(MainHelp, stderr);
        return ExitUsage;
    }
    std::string name = words.front();
    words.erase(words.begin());
    if (name == "help" && !words.empty()) {
        // "help COMMAND" is "COMMAND --help".
        name = words.front();
        words = {"--help"};
    } else if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(MainHelp, stdout);
        return 0;
    }
    if (name == "--version") {
        std::puts("korvel-cli 1.05");
        return 0;
    }
    // Every command has the companion's ports: its bars and dialogs, the
    // instruments and other tools' formats of this build.
    InstallCliPorts();
    for (const Command& command : Commands) {
        if (name != command.name) continue;
        try {
            Arguments args(std::move(words));
            return command.run(args);
        } catch (const CliError& error) {
            std::fprintf(stderr, "korvel-cli %s: %s\n", command.name, error.message.c_str());
            if (error.status == ExitUsage) {
                std::fprintf(stderr, "Try 'korvel-cli %s --help'.\n", command.name);
            }
            return error.status;
        }
    }
    std::fprintf(stderr, "korvel-cli: unknown command '%s'\nTry 'korvel-cli --help'.\n",
                 name.c_str());
    return ExitUsage;
}

}  // namespace korvel::cli
