#include "cli/CliSession.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "acquisition/ProcessRecord.h"
#include "app/ControlBarSetup.h"
#include "app/ControlIds.h"
#include "app/MainCommands.h"
#include "app/OscState.h"
#include "app/StartUp.h"
#include "cli/CliArguments.h"
#include "cli/CliBars.h"
#include "display/Plot.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "spectrum/SpectrumControlIds.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::cli {

void BeginSession(int32_t width, int32_t height) {
    if (StartUp() != 0) Failure("the settings could not be set up");
    InstallCliPorts();
    SetUpControlBars();
    CreatePlotFonts();
    SetMainWindowActive(true);
    PlotCanvas.Resize(width, height);
    // The first drawing sets the simulated device up, as the window's first paint does.
    RefreshPlot();
}

void ReadRecord(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        Failure("cannot read " + path + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode)) Failure("cannot read " + path + ": it is a folder");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) Failure("cannot read " + path + ": " + std::strerror(errno));
    std::fclose(file);
    if (!SetDataFileName(path.c_str())) {
        Failure("cannot read " + path + ": the path is longer than " +
                std::to_string(DataFileNameSize - 1) + " bytes");
    }
    if (ReadDataFile(DataFileDetect) != 1) {
        Failure(path +
                " is not a data file KORVEL can show: it has no samples, an unknown format, "
                "values that are not finite numbers, or times that do not increase");
    }
}

void OpenRecord(const std::string& path) {
    ReadRecord(path);
    // The companion file may have changed the settings: the bars show them again.
    SetUpControlBars();
    CreatePlotFonts();
    OscState.AutoNormPending = 1;
    PlotState.EditsLive = 0;
    ProcessRecord();
    RefreshPlot();
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
