// devices: the instruments libsigrok finds, each with its analog channels and
// sample rates, as capture --device takes them.
#include <string>

#include "acquisition/Source.h"
#include "cli/CliBars.h"
#include "cli/CliCommands.h"
#include "files/DeviceFile.h"
#include "ports/Ports.h"

namespace korvel::cli {

namespace {

constexpr const char* DevicesHelp =
    "Usage: korvel-cli devices [--driver NAME] [--conn CONNECTION]\n"
    "\n"
    "Scans for instruments through libsigrok and prints each one found: its\n"
    "--device text, its model, its analog channels and its sample rates. Without\n"
    "--driver, the drivers that need no connection are scanned (the demo device\n"
    "among them); --conn gives a driver its connection: a serial port such as\n"
    "/dev/ttyUSB0, tcp-raw/HOST/PORT or vxi/HOST for network instruments.\n";

}  // namespace

int RunDevices(Arguments& args) {
    std::string driver;
    std::string connection;
    std::string word;
    while (args.Next(word)) {
        if (!args.IsOption(word)) {
            UsageError("unknown argument '" + word + "'");
        } else if (word == "--help") {
            WriteOut(DevicesHelp);
            return 0;
        } else if (word == "--driver") {
            driver = args.Value(word);
        } else if (word == "--conn") {
            connection = args.Value(word);
        } else {
            UsageError("unknown option '" + word + "'");
        }
    }
    if (!connection.empty() && driver.empty()) UsageError("--conn is the connection of a --driver");
    Instrument& instruments = Instruments();
    std::string error;
    const std::vector<InstrumentDevice> devices = instruments.Scan(driver, connection, error);
    if (devices.empty()) Failure(error.empty() ? "no device found" : error);
    std::string out;
    for (const InstrumentDevice& device : devices) {
        InstrumentChoice choice{device.driver, device.connection, "", 0};
        out += DeviceChoiceText(choice) + "\n";
        out += "  model:        " + device.model + "\n";
        out += "  channels:    ";
        for (const std::string& channel : device.channels)
            out += " " + channel;
        out += "\n  sample rates:";
        for (const uint64_t hz : device.sampleRatesHz)
            out += " " + ShortRateText(hz);
        out += "\n  trigger:      ";
        out += device.externalTrigger ? "external\n" : "none\n";
    }
    WriteOut(out);
    return 0;
}

}  // namespace korvel::cli
