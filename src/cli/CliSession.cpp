#include "cli/CliSession.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "acquisition/Source.h"
#include "acquisition/TickedCapture.h"
#include "app/ControlBarSetup.h"
#include "app/DataFileCommands.h"
#include "app/MainCommands.h"
#include "app/SourceCommands.h"
#include "app/StartUp.h"
#include "cli/CliArguments.h"
#include "cli/CliBars.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "files/CompanionFile.h"
#include "files/ConfigFile.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "files/DataFileWriter.h"
#include "files/DeviceFile.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::cli {

namespace {

// A command's data file may come through a pipe (a script's standard
// input), and nobody is there to be asked for a channel: --channel says it.
void ReadDataFilesAsACommand() {
    DataFiles.Inputs = InputKinds::RegularFilesOrPipes;
    DataFiles.AskChannel = false;
}

}  // namespace

void WriteRecordOrFail(const std::string& out, int32_t format) {
    const DataFileWrite write = WriteRecordFile(out.c_str(), format);
    const std::string why = write.detail.empty() ? FileStatusText(write.status, 0) : write.detail;
    switch (write.result) {
        case DataFileWritten:
            return;
        case CompanionNotWritten:
            Failure("wrote " + out + " but not its companion settings file " + write.failedPath +
                    " (" + why + "), which keeps what it held before");
        default:
            Failure("cannot write " + write.failedPath + ": " + why);
    }
}

void WarnOfConfig(const FileStatus& loaded) {
    if (!loaded.ok())
        std::fprintf(stderr, "korvel-cli: %s\n", ConfigLoadMessage(loaded, 0).c_str());
}

void RefuseOverwritingInput(const std::string& in, const std::string& out) {
    struct stat input {};
    struct stat output {};
    if (stat(in.c_str(), &input) == 0 && stat(out.c_str(), &output) == 0 &&
        input.st_dev == output.st_dev && input.st_ino == output.st_ino) {
        UsageError(out + " is the data file being read: give the output another name");
    }
}

void BeginSession(int32_t width, int32_t height) {
    StartUp();
    // A script's results do not hang on the instrument the window used last:
    // the simulated card, unless a command names a device.
    SetStartSource({});
    ReadDataFilesAsACommand();
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

// "-" is the standard input, which a script may pipe a data file into.
std::string InputPath(const std::string& path) {
    const std::string input = path == "-" ? "/dev/stdin" : path;
    if (input.size() >= DataFileNameSize) {
        Failure("cannot read " + path + ": the path is longer than " +
                std::to_string(DataFileNameSize - 1) + " bytes");
    }
    return input;
}

// The end of a command whose data file was refused, with the reason; a
// companion settings file that was not read is only warned of.
void ReportRead(const std::string& path) {
    const DataFileRead& read = DataFiles.LastRead;
    const std::string why = DataFileReadText(read, InputPath(path).c_str(), 0);
    if (read.problem == ReadProblem::File) Failure("cannot read " + path + ": " + why);
    if (!read) Failure(path + " is not a data file KORVEL can show: " + why);
    const std::string cut = RecordCutText(read, 0);
    if (!cut.empty())
        std::fprintf(stderr, "korvel-cli: warning: %s: %s\n", path.c_str(), cut.c_str());
    if (!read.companion.ok()) {
        std::fprintf(stderr,
                     "korvel-cli: warning: the companion settings file %s was not read (%s); "
                     "the saved settings stand\n",
                     CompanionPath(InputPath(path).c_str()).c_str(),
                     FileStatusText(read.companion, 0).c_str());
    }
}

}  // namespace

void ReadRecord(const std::string& path) {
    SetDataFileName(InputPath(path).c_str());
    ReadDataFilesAsACommand();
    ReadDataFile(DataFileDetect);
    ReportRead(path);
}

void OpenRecord(const std::string& path) {
    // The window's own Open, its dialog answered with the path and "All
    // files"; the messages it would show are worded here instead.
    CliDialogs& dialogs = Answers();
    dialogs.answer = InputPath(path);
    dialogs.filter = DataFileDetect;
    dialogs.hold = true;
    OpenCommand();
    dialogs.hold = false;
    dialogs.answer.clear();
    ReportRead(path);
}

void UseDevice(const InstrumentChoice& choice) {
    std::string error;
    if (!UseSource(choice, error))
        Failure("cannot use the device " + DeviceChoiceText(choice) + ": " + error);
    RebuildFrequencyList();
}

void AwaitInstrumentRecord() {
    const int32_t before = OscState.RecordsReady;
    CliDialogs& dialogs = Answers();
    dialogs.hold = true;
    while (OscState.CaptureBusy == 1) {
        std::this_thread::sleep_for(std::chrono::milliseconds(CaptureTickMs));
        CaptureTick();
    }
    dialogs.hold = false;
    if (InstrumentInUse() && OscState.RecordsReady == before) {
        const std::string why = dialogs.last.substr(0, dialogs.last.find('\n'));
        Failure(why.empty() ? "the instrument delivered no record" : why);
    }
}

bool TakeDataFileWord(Arguments& args, const std::string& word, std::string& file) {
    if (!args.IsOption(word)) {
        if (!file.empty()) UsageError("one file at a time: '" + word + "' is one too many");
        file = word;
        return true;
    }
    if (word != "--channel") return false;
    DataFiles.ForeignChannel = args.Value(word);
    return true;
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
