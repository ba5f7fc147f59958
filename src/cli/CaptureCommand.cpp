// capture: one manual capture from the simulated source (or an instrument),
// as F5 makes it in a window just opened with the saved settings.
#include <charconv>
#include <cstdio>
#include <string>

#include "acquisition/CaptureEngine.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "files/DataFileWriter.h"
#include "files/DeviceFile.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/SettingsBounds.h"
#include "ports/ControlIds.h"

namespace korvel::cli {

namespace {

constexpr const char* CaptureHelp =
    "Usage: korvel-cli capture [--records N] [--average N] [--invert] [--out FILE]\n"
    "                          [--device DEVICE [--channel NAME] [--samplerate RATE]]\n"
    "\n"
    "Makes one manual capture from the simulated source with the saved settings\n"
    "(korvel.ini), as F5 does in a window just opened, and writes the record.\n"
    "With --device the record comes from an instrument instead ('korvel-cli\n"
    "devices' lists them): DEVICE is a driver with its options, as in demo or\n"
    "rigol-ds:conn=tcp-raw/192.0.2.1/5555; the record is Num_Data samples of one\n"
    "analog channel in mV at the device's sample rate.\n"
    "\n"
    "  --records N   records summed into the capture (the Accumulator field), 1 to 100000\n"
    "  --average N   samples of the moving average (the Average over field), 1 to 1000000\n"
    "  --invert      negate every captured sample (the Invert box of Settings)\n"
    "  --device DEVICE    the instrument (simulated: the simulated card)\n"
    "  --channel NAME     its analog channel (default: its first)\n"
    "  --samplerate RATE  its sample rate in Hz, as 1M or 250k (default: its own)\n"
    "  --out FILE    write FILE.ktf (text) or FILE.kbf (binary) and its companion\n"
    "                settings file FILE.cf; without it, one line \"time_us value_mV\"\n"
    "                per sample goes to the standard output\n"
    "\n"
    "The saved settings are not changed.\n";

void AppendNumber(std::string& text, float value) {
    char digits[32];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 9);
    text.append(digits, result.ptr);
}

// The samples as the lines of a text data file (without its closing step note).
std::string RecordLines() {
    std::string text;
    const int32_t count = OscSettings.Num_Data;
    text.reserve(static_cast<size_t>(count) * 24);
    for (int32_t k = 0; k < count; ++k) {
        const double time = static_cast<double>(OscState.TimeOffset) +
                            static_cast<double>(k) * static_cast<double>(OscState.SamplePeriod);
        AppendNumber(text, static_cast<float>(time));
        text.push_back(' ');
        AppendNumber(text, OscState.Record[k]);
        text.push_back('\n');
    }
    return text;
}

}  // namespace

int32_t FormatOfName(const std::string& path) {
    const std::string ext = Extension(path);
    if (ext == "ktf") return SaveText;
    if (ext == "kbf") return SaveBinary;
    if (ext == "sr") return SaveSession;
    if (ext == "csv") return SaveCsv;
    if (ext == "wav") return SaveWav;
    UsageError("the data file name " + path +
               " must end in .ktf (text), .kbf (binary), .sr (sigrok session), .csv or .wav");
}

void WriteOut(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        Failure("cannot write to the standard output");
    }
}

int RunCapture(Arguments& args) {
    std::string records;
    std::string average;
    std::string out;
    bool invert = false;
    InstrumentChoice device;
    std::string channel;
    std::string rate;
    std::string word;
    while (args.Next(word)) {
        if (word == "--help") {
            WriteOut(CaptureHelp);
            return 0;
        } else if (word == "--records") {
            records = std::to_string(ParseCount(word, args.Value(word), 1, MaxAccOver));
        } else if (word == "--average") {
            average = std::to_string(ParseCount(word, args.Value(word), 1, MaxAvOver));
        } else if (word == "--invert") {
            args.NoValue(word);
            invert = true;
        } else if (word == "--out") {
            out = args.Value(word);
            FormatOfName(out);
        } else if (word == "--device") {
            const std::string named = args.Value(word);
            std::string error;
            if (!ParseDeviceChoice(named, device, error))
                UsageError("--device " + named + ": " + error);
        } else if (word == "--channel") {
            channel = args.Value(word);
        } else if (word == "--samplerate") {
            rate = args.Value(word);
        } else {
            UsageError("unknown argument '" + word + "'");
        }
    }

    if (device.IsSimulated() && !(channel.empty() && rate.empty()))
        UsageError("--channel and --samplerate choose what --device gives");
    if (!channel.empty()) device.channel = channel;
    if (!rate.empty() && !ParseRate(rate, device.sampleRateHz))
        UsageError("--samplerate takes a rate in Hz such as 1M or 250k, not '" + rate + "'");

    BeginSession(0, 0);
    if (!device.IsSimulated()) UseDevice(device);
    // The numbers go into the bars' fields as typed; the capture reads them there.
    if (!records.empty()) TypeIntoTopBar(top::Accumulator, records);
    if (!average.empty()) TypeIntoBottomBar(bottom::Average, average);
    if (invert) OscSettings.Invert = 1;
    OscState.ExtStart = 0;
    CaptureStep();
    AwaitInstrumentRecord();

    if (out.empty()) {
        WriteOut(RecordLines());
        return 0;
    }
    WriteRecordOrFail(out, FormatOfName(out));
    return 0;
}

}  // namespace korvel::cli
