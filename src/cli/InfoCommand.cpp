// info: what a data file holds and the automatic measurements of its record.
#include <cstdio>
#include <string>

#include "acquisition/RecordMeasurements.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "files/DataFileState.h"
#include "model/OscState.h"

namespace korvel::cli {

namespace {

constexpr const char* InfoHelp =
    "Usage: korvel-cli info FILE\n"
    "\n"
    "Shows the samples, time step and first time of a data file (.ktf or .kbf,\n"
    "told apart by their first bytes; FILE - reads it from the standard input)\n"
    "and measures its record as the file holds it: minimum, maximum,\n"
    "peak-to-peak, mean, RMS, AC RMS (the RMS less the mean), the frequency of\n"
    "the strongest line of the power spectrum (to within one bin, whose width is\n"
    "shown) and its period. Voltages in mV, times in us,\n"
    "frequencies in kHz.\n";

// The format the reader found, from the file's first bytes (or a .csv name).
const char* FormatName(const DataFileRead& read) {
    switch (read.foreign) {
        case ForeignFormat::Session:
            return "sigrok session";
        case ForeignFormat::Csv:
            return "CSV";
        case ForeignFormat::Wav:
            return "WAV";
        case ForeignFormat::None:
            break;
    }
    switch (read.kind) {
        case BinaryKind::Floats:
            return "binary, floats (KFRF)";
        case BinaryKind::SignedCodes:
            return "binary, signed codes (KDRF)";
        case BinaryKind::UnsignedCodes:
            return "binary, unsigned codes (KDRU)";
        default:
            return "text";
    }
}

void Line(std::string& out, const char* name, const char* format, double value) {
    char number[64];
    std::snprintf(number, sizeof number, format, value);
    char line[160];
    std::snprintf(line, sizeof line, "%-16s%s\n", name, number);
    out += line;
}

void Line(std::string& out, const char* name, const std::string& text) {
    char line[160];
    std::snprintf(line, sizeof line, "%-16s", name);
    out += line;
    out += text;
    out += '\n';
}

}  // namespace

int RunInfo(Arguments& args) {
    std::string path;
    std::string word;
    while (args.Next(word)) {
        if (TakeDataFileWord(args, word, path)) continue;
        if (word == "--help") {
            WriteOut(InfoHelp);
            return 0;
        } else {
            UsageError("unknown option '" + word + "'");
        }
    }
    if (path.empty()) UsageError("which file? Give a .ktf or .kbf data file");

    ReadRecord(path);
    const int32_t count = OscState.LoadedLength;
    const float period = OscState.SamplePeriod;
    const RecordMeasurements m = MeasureRecord(OscState.FileData, count, period);

    std::string out;
    Line(out, "File:", path);
    Line(out, "Format:", FormatName(DataFiles.LastRead));
    if (!DataFiles.LastRead.channel.empty()) Line(out, "Channel:", DataFiles.LastRead.channel);
    Line(out, "Samples:", "%.0f", count);
    Line(out, "Sample period:", "%g us", period);
    Line(out, "First time:", "%g us", OscState.TimeOffset);
    Line(out, "Duration:", "%g us", static_cast<double>(period) * count);
    Line(out, "Minimum:", "%g mV", m.minimumMv);
    Line(out, "Maximum:", "%g mV", m.maximumMv);
    Line(out, "Peak-to-peak:", "%g mV", m.peakToPeakMv);
    Line(out, "Mean:", "%g mV", m.meanMv);
    Line(out, "RMS:", "%g mV", m.rmsMv);
    Line(out, "AC RMS:", "%g mV", m.acRmsMv);
    if (m.hasLine) {
        char text[96];
        std::snprintf(text, sizeof text, "%g kHz (bin width %g kHz)", m.lineKHz, m.binWidthKHz);
        Line(out, "Strongest line:", text);
        Line(out, "Period:", "%g us", m.periodUs);
    } else {
        Line(out, "Strongest line:", "none");
        Line(out, "Period:", "none");
    }
    WriteOut(out);
    return 0;
}

}  // namespace korvel::cli
