#include "app/DataFileCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "acquisition/ProcessRecord.h"
#include "app/ControlBarSetup.h"
#include "app/MainCommands.h"
#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "files/DataFileWriter.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

// Release 1.05.
constexpr int ReleaseMajor = 1;
constexpr int ReleaseMinor = 5;

// Mouse moves are ignored and the marks taken off while a file dialog is open.
void PauseTracking() {
    PlotState.TrackingOn = 0;
    EraseCursors(PlotCanvas);
    EraseReference();
}

// "<title format> : name", the name being the file's without folder and
// without extension (up to its last dot).
void ShowFileTitle(TextId format, const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* name = slash != nullptr ? slash + 1 : path;
    const char* dot = std::strrchr(name, '.');
    const size_t length = dot != nullptr ? static_cast<size_t>(dot - name) : std::strlen(name);
    char title[DataFileNameSize + 128];
    const int used = std::snprintf(title, sizeof title, Text(format), ReleaseMajor, ReleaseMinor);
    std::snprintf(title + used, sizeof title - static_cast<size_t>(used), "%.*s",
                  static_cast<int>(length), name);
    Ports.frame->SetTitle(title);
}

void ShowRecordRead(int32_t mode) {
    const float periodBefore = OscState.SamplePeriod;
    Ports.frame->SetPointer(Pointer::Hourglass);
    const DataFileRead read = ReadDataFile(mode);
    Ports.frame->SetPointer(Pointer::Arrow);
    // The reason follows the first line, which stays the same for every refusal.
    const std::string reason = DataFileReadText(read, DataFiles.DataFileName, OscState.Russian);

    // The bars' fields are written below; the next drawing writes them again.
    PlotState.EditsLive = 0;
    if (read) {
        // The bars show the settings a companion file may have changed.
        // Selecting the frequency index there sets the capture's time step;
        // the record read keeps its file's.
        const float filePeriod = OscState.SamplePeriod;
        ShowSettingsInBars();
        OscState.SamplePeriod = filePeriod;
        CreatePlotFonts();
        if (!reason.empty()) Ports.dialogs->Message(reason.c_str(), nullptr);
    } else {
        // A binary header cut inside its first time leaves the period it
        // had read; the record still shown keeps its own.
        OscState.SamplePeriod = periodBefore;
        const std::string message = std::string(Text(TextId::ReadDataError)) + "\n\n" + reason;
        Ports.dialogs->Message(message.c_str(), nullptr);
        const int32_t count = std::clamp(OscSettings.Num_Data, 0, MaxData);
        std::fill(OscState.Record, OscState.Record + count, 0.0f);
    }
    OscState.AutoNormPending = 1;
    PlotState.EditsLive = 0;
    ProcessRecord();
    RefreshPlot();
}

// The text, binary and "All files" filters of the two file dialogs.
struct DataFileFilters {
    FileFilter list[3] = {{Text(TextId::TextFileFilter), "*.ktf"},
                          {Text(TextId::BinaryFileFilter), "*.kbf"},
                          {Text(TextId::AllFilesFilter), "*.*"}};
};

FileDialogRequest DataFileRequest(TextId title, const DataFileFilters& filters, int32_t count,
                                  int32_t selected) {
    FileDialogRequest request;
    request.title = Text(title);
    request.filters = filters.list;
    request.filterCount = count;
    request.selectedFilter = selected;
    request.defaultExtension = "ktf";
    request.initialDirectory = ".";
    return request;
}

void Save(bool window) {
    if (PeriodicCaptureOwnsDisplay()) return;
    PauseTracking();
    // The Russian interface offers "All files" too; like the text filter it writes text.
    const DataFileFilters filters;
    FileDialogRequest request = DataFileRequest(
        TextId::SaveDialogTitle, filters, OscState.Russian == 1 ? 3 : 2, DataFiles.SaveFilterIndex);
    request.confirmOverwrite = true;
    char path[DataFileNameSize] = "";
    const bool chosen = Ports.dialogs->SaveFileName(request, path, sizeof path);
    DataFiles.SaveFilterIndex = request.selectedFilter;
    if (chosen) {
        ShowFileTitle(TextId::SavedTitleFormat, path);
        SetDataFileName(path);
        const int32_t format = request.selectedFilter == SaveBinary ? SaveBinary : SaveText;
        const DataFileWrite write =
            window ? WriteWindowFile(path, format) : WriteRecordFile(path, format);
        if (write.result != DataFileWritten) {
            const bool dataWritten = write.result == CompanionNotWritten;
            char message[DataFileNameSize + 512];
            const int used = std::snprintf(
                message, sizeof message,
                Text(dataWritten ? TextId::WriteCompanionError : TextId::WriteDataError),
                write.failedPath.c_str());
            std::snprintf(message + used, sizeof message - static_cast<size_t>(used), "\n\n%s",
                          FileStatusText(write.status, OscState.Russian).c_str());
            Ports.dialogs->Message(message, nullptr);
        }
    }
    PlotState.TrackingOn = 1;
}

}  // namespace

void OpenCommand() {
    if (PeriodicCaptureOwnsDisplay()) return;
    PauseTracking();
    const DataFileFilters filters;
    FileDialogRequest request =
        DataFileRequest(TextId::OpenDialogTitle, filters, 3, DataFiles.OpenFilterIndex);
    char path[DataFileNameSize] = "";
    const bool chosen = Ports.dialogs->OpenFileName(request, path, sizeof path);
    DataFiles.OpenFilterIndex = request.selectedFilter;
    if (chosen) {
        ShowFileTitle(TextId::OpenedTitleFormat, path);
        SetDataFileName(path);
        ShowRecordRead(request.selectedFilter);
    }
    PlotState.TrackingOn = 1;
}

void SaveCommand() {
    Save(false);
}

void WinSaveCommand() {
    Save(true);
}

}  // namespace korvel
