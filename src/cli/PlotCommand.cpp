// plot: the oscillogram of a data file, or its spectrum, as a PNG picture,
// drawn as the main window (or the spectrum window) draws it once the file
// is opened.
#include <string>

#include "acquisition/ProcessRecord.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/ui/OffscreenText.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "spectrum/SpectrumView.h"

namespace korvel::cli {

namespace {

constexpr const char* PlotHelp =
    "Usage: korvel-cli plot FILE --out PICTURE.png [--size WxH] [--from US] [--width US]\n"
    "                       [--grid] [--spectrum [--min-khz KHZ] [--width-khz KHZ]]\n"
    "\n"
    "Draws the data file FILE as the main window shows it once the file is opened\n"
    "(the overview of the whole record above the plot of its first quarter, with\n"
    "the saved settings as FILE's companion file changed them) and writes the\n"
    "window's plot area as a PNG picture. With --spectrum the picture is the\n"
    "spectrum window's plot of the lower plot's stretch, as its copy button takes it.\n"
    "\n"
    "  --out PICTURE     the PNG file to write (its name ends in .png)\n"
    "  --size WxH        the plot area in pixels (default 1024x640)\n"
    "  --from US         start of the lower plot, microseconds (the Min field)\n"
    "  --width US        width of the lower plot, microseconds (the Width field)\n"
    "  --grid            draw the grid (the Grid box of Settings)\n"
    "  --spectrum        draw the spectrum of the lower plot's stretch instead\n"
    "  --min-khz KHZ     first frequency the spectrum shows (its Min field)\n"
    "  --width-khz KHZ   frequencies the spectrum shows (its Width field)\n";

}  // namespace

int RunPlot(Arguments& args) {
    std::string file;
    std::string out;
    std::string from;
    std::string width;
    std::string minKHz;
    std::string widthKHz;
    PictureSize size{1024, 640};
    bool grid = false;
    bool spectrum = false;
    std::string word;
    while (args.Next(word)) {
        if (TakeDataFileWord(args, word, file)) continue;
        if (word == "--help") {
            WriteOut(PlotHelp);
            return 0;
        } else if (word == "--out") {
            out = args.Value(word);
            if (Extension(out) != "png")
                UsageError("the picture's name " + out + " must end in .png");
        } else if (word == "--size") {
            size = ParseSize(word, args.Value(word));
        } else if (word == "--from") {
            from = ParseNumberText(word, args.Value(word));
        } else if (word == "--width") {
            width = ParseNumberText(word, args.Value(word));
        } else if (word == "--min-khz") {
            minKHz = ParseNumberText(word, args.Value(word));
        } else if (word == "--width-khz") {
            widthKHz = ParseNumberText(word, args.Value(word));
        } else if (word == "--grid") {
            args.NoValue(word);
            grid = true;
        } else if (word == "--spectrum") {
            args.NoValue(word);
            spectrum = true;
        } else {
            UsageError("unknown option '" + word + "'");
        }
    }
    if (file.empty()) UsageError("which file? Give a .ktf or .kbf data file");
    if (out.empty()) UsageError("where to? Give the picture's name with --out");
    if (!spectrum && !(minKHz.empty() && widthKHz.empty())) {
        UsageError("--min-khz and --width-khz choose the frequencies of --spectrum");
    }

    RefuseOverwritingInput(file, out);

    OffscreenText text;
    BeginSession(spectrum ? 0 : size.width, spectrum ? 0 : size.height);
    OpenRecord(file);
    if (grid) {
        // As the Grid box of Settings and OK do.
        OscSettings.Grid = 1;
        CreatePlotFonts();
        ProcessRecord();
        RequestAutoNorm();
        RefreshPlot();
    }
    TypeSubWindow(from, width);
    if (spectrum) {
        SpectrumCanvas.Resize(size.width, size.height + 2);
        ShowSpectrumWindow(minKHz, widthKHz);
    }
    const FileStatus written = spectrum ? SavePng(SpectrumCanvas, 1, size.height, out)
                                        : SavePng(PlotCanvas, 0, size.height, out);
    if (!written) Failure("cannot write " + out + ": " + FileStatusText(written, 0));
    return 0;
}

}  // namespace korvel::cli
