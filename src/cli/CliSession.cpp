#include "cli/CliSession.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/ControlBarSetup.h"
#include "app/DataFileCommands.h"
#include "app/MainCommands.h"
#include "app/StartUp.h"
#include "cli/CliArguments.h"
#include "cli/CliBars.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "files/DataFileWriter.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::cli {

void WriteRecordOrFail(const std::string& out, int32_t format) {
    switch (WriteRecordFile(out.c_str(), format)) {
        case DataFileWritten:
            return;
        case CompanionNotWritten:
            Failure("wrote " + out + " but not its companion settings file");
        default:
            Failure("cannot write " + out);
    }
}

void BeginSession(int32_t width, int32_t height) {
    StartUp();
    InstallCliPorts();
    SetUpControlBars();
    CreatePlotFonts();
    SetMainWindowActive(true);
    PlotCanvas.Resize(width, height);
    // The device is set up as at the window's first show, before its first drawing.
    SetUpDevice();
    RefreshPlot();
}

namespace {

// The reasons a path is no file to read, worded before the reader is asked.
void CheckReadable(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        Failure("cannot read " + path + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode)) Failure("cannot read " + path + ": it is a folder");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) Failure("cannot read " + path + ": " + std::strerror(errno));
    std::fclose(file);
    if (path.size() >= DataFileNameSize) {
        Failure("cannot read " + path + ": the path is longer than " +
                std::to_string(DataFileNameSize - 1) + " bytes");
    }
}

[[noreturn]] void NoDataFile(const std::string& path) {
    Failure(path +
            " is not a data file KORVEL can show: it has no samples, an unknown format, "
            "values that are not finite numbers, or times that do not increase");
}

}  // namespace

void ReadRecord(const std::string& path) {
    CheckReadable(path);
    SetDataFileName(path.c_str());
    if (!ReadDataFile(DataFileDetect)) NoDataFile(path);
}

void OpenRecord(const std::string& path) {
    CheckReadable(path);
    // The window's own Open, its dialog answered with the path and "All
    // files"; the message it would show for a file it cannot read is worded
    // here instead.
    CliDialogs& dialogs = Answers();
    dialogs.answer = path;
    dialogs.filter = DataFileDetect;
    dialogs.hold = true;
    const int32_t before = dialogs.messages;
    OpenCommand();
    dialogs.hold = false;
    dialogs.answer.clear();
    if (dialogs.messages != before) NoDataFile(path);
}

void TypeIntoBottomBar(int32_t id, const std::string& text) {
    BottomBar().SetText(id, text.c_str());
}

void TypeIntoTopBar(int32_t id, const std::string& text) {
    TopBar().SetText(id, text.c_str());
}

void TypeSubWindow(const std::string& fromUs, const std::string& widthUs) {
    if (!fromUs.empty()) TypeIntoBottomBar(bottom::Min, fromUs);
    if (!widthUs.empty()) TypeIntoBottomBar(bottom::Width, widthUs);
}

void ShowSpectrumWindow(const std::string& minKHz, const std::string& widthKHz) {
    SpectrumWindowCreated();
    // Bars of no height still keep their border row each: the plot lies
    // between row 1 and the last row, as the window's copy takes it.
    PaintSpectrum(0, 0);
    if (!minKHz.empty()) SpectrumBottomBar().SetText(spectrumBottom::Min, minKHz.c_str());
    if (!widthKHz.empty()) SpectrumBottomBar().SetText(spectrumBottom::Width, widthKHz.c_str());
}

}  // namespace korvel::cli
