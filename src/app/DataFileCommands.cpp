#include "app/DataFileCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

// The read, and for another tool's file of several analog channels the
// user's choice among them (Cancel keeps the first, read already).
DataFileRead ReadAskingChannel(int32_t mode) {
    if (DataFiles.AskChannel) DataFiles.ForeignChannel.clear();
    const DataFileRead read = ReadDataFile(mode);
    if (!read || !DataFiles.AskChannel || read.channels.size() < 2) return read;
    std::vector<const char*> items;
    for (const std::string& channel : read.channels)
        items.push_back(channel.c_str());
    const int32_t chosen =
        Ports.dialogs->ChooseItem(Text(TextId::ChannelTitle), Text(TextId::ChannelPrompt),
                                  items.data(), static_cast<int32_t>(items.size()), 0);
    if (chosen <= 0 || static_cast<size_t>(chosen) >= read.channels.size()) return read;
    DataFiles.ForeignChannel = read.channels[static_cast<size_t>(chosen)];
    return ReadDataFile(mode);
}

void ShowRecordRead(int32_t mode) {
    const float periodBefore = OscState.SamplePeriod;
    Ports.frame->SetPointer(Pointer::Hourglass);
    const DataFileRead read = ReadAskingChannel(mode);
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
        const std::string cut = RecordCutText(read, OscState.Russian);
        if (!cut.empty()) Ports.dialogs->Message(cut.c_str(), nullptr);
    } else {
        // A binary header cut inside its first time leaves the period it
        // had read; the record still shown keeps its own.
        OscState.SamplePeriod = periodBefore;
        const std::string message = std::string(Text(TextId::ReadDataError)) + "\n\n" + reason;
        Ports.dialogs->Message(message.c_str(), nullptr);
        // Another tool's file that cannot be read leaves the record shown as
        // it was; this program's own formats clear it, as they always have.
        if (read.foreign == ForeignFormat::None) {
            const int32_t count = std::clamp(OscSettings.Num_Data, 0, MaxData);
            std::fill(OscState.Record, OscState.Record + count, 0.0f);
        }
    }
    OscState.AutoNormPending = 1;
    PlotState.EditsLive = 0;
    ProcessRecord();
    RefreshPlot();
}

// The text, binary and "All files" filters of the two file dialogs, then
// those of other tools' files, in the order of the read modes 4 to 6.
struct DataFileFilters {
    FileFilter list[6] = {
        {Text(TextId::TextFileFilter), "*.ktf"}, {Text(TextId::BinaryFileFilter), "*.kbf"},
        {Text(TextId::AllFilesFilter), "*.*"},   {Text(TextId::SessionFileFilter), "*.sr"},
        {Text(TextId::CsvFileFilter), "*.csv"},  {Text(TextId::WavFileFilter), "*.wav"}};
};

// The Save dialog's list: text, binary, in Russian "All files" (text) as
// well, then the other tools' formats; the format each filter writes.
struct SaveFilters {
    FileFilter list[6];
    int32_t formats[6];
    int32_t count = 0;
    SaveFilters() {
        const DataFileFilters all;
        for (int32_t k = 0; k < 6; ++k) {
            if (k == 2 && OscState.Russian != 1) continue;
            list[count] = all.list[k];
            formats[count++] = k < 3 ? (k == 1 ? SaveBinary : SaveText) : SaveSession + (k - 3);
        }
    }
    int32_t FormatOf(int32_t selected) const {
        return selected >= 1 && selected <= count ? formats[selected - 1] : SaveText;
    }
};

FileDialogRequest DataFileRequest(TextId title, const FileFilter* filters, int32_t count,
                                  int32_t selected) {
    FileDialogRequest request;
    request.title = Text(title);
    request.filters = filters;
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
    const SaveFilters filters;
    FileDialogRequest request = DataFileRequest(TextId::SaveDialogTitle, filters.list,
                                                filters.count, DataFiles.SaveFilterIndex);
    request.confirmOverwrite = true;
    char path[DataFileNameSize] = "";
    const bool chosen = Ports.dialogs->SaveFileName(request, path, sizeof path);
    DataFiles.SaveFilterIndex = request.selectedFilter;
    if (chosen) {
        ShowFileTitle(TextId::SavedTitleFormat, path);
        SetDataFileName(path);
        const int32_t format = filters.FormatOf(request.selectedFilter);
        const DataFileWrite write =
            window ? WriteWindowFile(path, format) : WriteRecordFile(path, format);
        if (write.result != DataFileWritten) {
            const bool dataWritten = write.result == CompanionNotWritten;
            char message[DataFileNameSize + 512];
            const int used = std::snprintf(
                message, sizeof message,
                Text(dataWritten ? TextId::WriteCompanionError : TextId::WriteDataError),
                write.failedPath.c_str());
            const std::string why = write.detail.empty()
                                        ? FileStatusText(write.status, OscState.Russian)
                                        : write.detail;
            std::snprintf(message + used, sizeof message - static_cast<size_t>(used), "\n\n%s",
                          why.c_str());
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
        DataFileRequest(TextId::OpenDialogTitle, filters.list, 6, DataFiles.OpenFilterIndex);
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
