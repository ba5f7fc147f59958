// spectrum: the power spectrum of a stretch of a data file's record, as the
// spectrum window computes it for the stretch the main plot shows, written
// as the window's Save writes it.
#include <string>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "files/FileReplace.h"
#include "model/SettingsBounds.h"
#include "ports/ControlIds.h"
#include "spectrum/SpectrumFile.h"

namespace korvel::cli {

namespace {

constexpr const char* SpectrumHelp =
    "Usage: korvel-cli spectrum FILE [--from US] [--width US] [--average N]\n"
    "                           [--min-khz KHZ] [--width-khz KHZ] [--out FILE.ksf]\n"
    "\n"
    "Opens the data file FILE as the window does and computes the power spectrum of\n"
    "the stretch its lower plot shows (the first quarter of the record, unless\n"
    "--from and --width say otherwise), as the spectrum window does: mean removed,\n"
    "zero padding to a power of two, bins in mV^2 up to the one where 99 % of the\n"
    "energy is reached. Writes the bins the window shows as its Save does: a\n"
    "spectrum file (.ksf) of a few lines starting with '#', then one line\n"
    "\"frequency_kHz<TAB>power_mV^2\" per bin.\n"
    "\n"
    "  --from US         start of the stretch, microseconds (the Min field)\n"
    "  --width US        width of the stretch, microseconds (the Width field)\n"
    "  --average N       samples of the moving average (the Average over field)\n"
    "  --min-khz KHZ     first frequency shown (the spectrum window's Min field)\n"
    "  --width-khz KHZ   frequencies shown (the spectrum window's Width field)\n"
    "  --out FILE.ksf    the spectrum file to write; without it, the standard output\n";

}  // namespace

int RunSpectrum(Arguments& args) {
    std::string file;
    std::string out;
    std::string from;
    std::string width;
    std::string average;
    std::string minKHz;
    std::string widthKHz;
    std::string word;
    while (args.Next(word)) {
        if (TakeDataFileWord(args, word, file)) continue;
        if (word == "--help") {
            WriteOut(SpectrumHelp);
            return 0;
        } else if (word == "--out") {
            out = args.Value(word);
            if (Extension(out) != "ksf") {
                UsageError("the spectrum file name " + out + " must end in .ksf");
            }
        } else if (word == "--from") {
            from = ParseNumberText(word, args.Value(word));
        } else if (word == "--width") {
            width = ParseNumberText(word, args.Value(word));
        } else if (word == "--min-khz") {
            minKHz = ParseNumberText(word, args.Value(word));
        } else if (word == "--width-khz") {
            widthKHz = ParseNumberText(word, args.Value(word));
        } else if (word == "--average") {
            average = std::to_string(ParseCount(word, args.Value(word), 1, MaxAvOver));
        } else {
            UsageError("unknown option '" + word + "'");
        }
    }
    if (file.empty()) UsageError("which file? Give a .ktf or .kbf data file");

    if (!out.empty()) RefuseOverwritingInput(file, out);

    BeginSession(0, 0);
    OpenRecord(file);
    // Average over first: a new processing draws the file's first quarter again.
    if (!average.empty()) TypeIntoBottomBar(bottom::Average, average);
    TypeSubWindow(from, width);
    ShowSpectrumWindow(minKHz, widthKHz);
    const std::string text = FormatSpectrumFile();
    if (out.empty()) {
        WriteOut(text);
    } else if (const FileStatus written = ReplaceFileContents(out, text); !written) {
        Failure("cannot write " + out + ": " + FileStatusText(written, 0));
    }
    return 0;
}

}  // namespace korvel::cli
