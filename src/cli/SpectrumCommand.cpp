// spectrum: the power spectrum of a stretch of a data file's record, as the
// spectrum window computes it for the stretch the main plot shows.
#include <cstdio>
#include <string>

#include "app/ControlIds.h"
#include "app/OscState.h"
#include "app/SettingsBounds.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "display/PlotState.h"
#include "files/FileReplace.h"
#include "spectrum/ComputeSpectrum.h"
#include "spectrum/SpectrumData.h"

namespace korvel::cli {

namespace {

constexpr const char* SpectrumHelp =
    "Usage: korvel-cli spectrum FILE [--from US --width US] [--average N] [--out FILE.ksf]\n"
    "\n"
    "Opens the data file FILE as the window does and computes the power spectrum of\n"
    "the stretch its lower plot shows (the first quarter of the record, unless\n"
    "--from and --width say otherwise), as the spectrum window does: mean removed,\n"
    "zero padding to a power of two, bins in mV^2 up to the one where 99 % of the\n"
    "energy is reached. Writes it as a spectrum file (.ksf): a few lines starting\n"
    "with '#', then one line \"frequency_kHz<TAB>power_mV^2\" per bin.\n"
    "\n"
    "  --from US     start of the stretch, microseconds (the Min field)\n"
    "  --width US    width of the stretch, microseconds (the Width field)\n"
    "  --average N   samples of the moving average (the Average over field)\n"
    "  --out FILE    the spectrum file to write; without it, the standard output\n";

void Append(std::string& out, const char* format, auto... values) {
    char line[256];
    std::snprintf(line, sizeof line, format, values...);
    out += line;
}

std::string SpectrumText(const SpectrumResult& r) {
    const SpectrumDataRecord& sd = SpectrumData;
    std::string out;
    out += "# KORVEL spectrum file: power spectrum of a stretch of the record\n";
    Append(out, "# Samples %d to %d of the record (%d samples), sample period %.9g us\n",
           sd.CachedFirst, sd.CachedLast, sd.CachedLast - sd.CachedFirst + 1,
           static_cast<double>(OscState.SamplePeriod));
    out += "# Spectra averaged: 1\n";
    out += "# Frequency, kHz\tPower, mV^2\n";
    for (int32_t k = 0; k < r.BinCount; ++k) {
        const double step =
            r.BinCount > 1 ? (static_cast<double>(r.FreqHigh) - r.FreqLow) / (r.BinCount - 1) : 0.0;
        Append(out, "%.9g\t%.9g\n", static_cast<double>(static_cast<float>(r.FreqLow + k * step)),
               static_cast<double>(r.Bins[k]));
    }
    return out;
}

}  // namespace

int RunSpectrum(Arguments& args) {
    std::string file;
    std::string out;
    std::string from;
    std::string width;
    std::string average;
    std::string word;
    while (args.Next(word)) {
        if (word == "--help") {
            WriteOut(SpectrumHelp);
            return 0;
        } else if (word == "--out") {
            out = args.Value(word);
            if (Extension(out) != "ksf") {
                UsageError("the spectrum file name " + out + " must end in .ksf");
            }
        } else if (word == "--from") {
            from = args.Value(word);
            ParseNumber(word, from);
        } else if (word == "--width") {
            width = args.Value(word);
            ParseNumber(word, width);
        } else if (word == "--average") {
            average = std::to_string(ParseCount(word, args.Value(word), 1, MaxAvOver));
        } else if (word.size() > 1 && word[0] == '-') {
            UsageError("unknown option '" + word + "'");
        } else if (!file.empty()) {
            UsageError("one file at a time: '" + word + "' is one too many");
        } else {
            file = word;
        }
    }
    if (file.empty()) UsageError("which file? Give a .ktf or .kbf data file");

    BeginSession(0, 0);
    OpenRecord(file);
    // Average over first: a new processing draws the file's first quarter again.
    if (!average.empty()) TypeIntoBottomBar(bottom::Average, average);
    TypeSubWindow(from, width);
    const SpectrumResult r = ComputeSpectrum(SubWindowArea.first, SubWindowArea.last, ModeCached);
    const std::string text = SpectrumText(r);
    if (out.empty()) {
        WriteOut(text);
    } else if (!ReplaceFileContents(out, text)) {
        Failure("cannot write " + out);
    }
    return 0;
}

}  // namespace korvel::cli
