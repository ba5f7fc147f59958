#include "spectrum/SpectrumFile.h"

#include <algorithm>
#include <cstdio>

#include "files/FileReplace.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/Ports.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

namespace {

// The dialog hands back a whole path, which may be longer than a file name.
constexpr size_t PathSize = 4096;

void Append(std::string& out, const char* format, auto... values) {
    char line[256];
    std::snprintf(line, sizeof line, format, values...);
    out += line;
}

}  // namespace

std::string FormatSpectrumFile() {
    const SpectrumViewRecord& v = SpectrumView;
    const int32_t first = std::max(v.ShownFirst, 0);
    const int32_t end = v.Bins == nullptr ? first : std::min(v.ShownEnd, v.BinCount);
    const int32_t samples = SpectrumData.CachedLast - SpectrumData.CachedFirst + 1;

    std::string out;
    out.reserve(160 + static_cast<size_t>(std::max(end - first, 0)) * 32);
    out += "# KORVEL spectrum file: power spectrum of a stretch of the record\n";
    Append(out, "# Samples %d to %d of the record (%d samples), sample period %.9g us\n",
           SpectrumData.CachedFirst, SpectrumData.CachedLast, samples,
           static_cast<double>(OscState.SamplePeriod));
    Append(out, "# Spectra averaged: %d\n", v.Averaged);
    out += "# Frequency, kHz\tPower, mV^2\n";
    for (int32_t k = first; k < end; ++k) {
        Append(out, "%.9g\t%.9g\n", static_cast<double>(BinFrequency(k)),
               static_cast<double>(v.Bins[k]));
    }
    return out;
}

void SaveSpectrum() {
    if (OscState.SpectrumRunning == 1) return;
    const FileFilter filters[] = {{Text(TextId::SpectrumFileFilter), "*.ksf"},
                                  {Text(TextId::SpectrumAllFilesFilter), "*.*"}};
    FileDialogRequest request;
    request.title = Text(TextId::SpectrumSaveTitle);
    request.filters = filters;
    request.filterCount = 2;
    request.selectedFilter = 1;
    request.defaultExtension = "ksf";
    request.initialDirectory = ".";
    request.confirmOverwrite = true;
    char path[PathSize];
    if (!Ports.dialogs->SaveFileName(request, path, sizeof path)) return;
    const FileStatus written = ReplaceFileContents(path, FormatSpectrumFile());
    if (written) return;
    char text[PathSize + 512];
    const int used = std::snprintf(text, sizeof text, Text(TextId::SpectrumSaveFailed), path);
    std::snprintf(text + used, sizeof text - static_cast<size_t>(used), "\n\n%s",
                  FileStatusText(written, OscState.Russian).c_str());
    Ports.dialogs->Message(text, Text(TextId::SpectrumTitle));
}

}  // namespace korvel
