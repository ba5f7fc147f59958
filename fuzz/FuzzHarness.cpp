#include "FuzzHarness.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "acquisition/ProcessRecord.h"
#include "app/ResetAll.h"
#include "canvas/FixedCellTextEngine.h"
#include "display/Plot.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/SettingsBounds.h"

namespace korvel::fuzz {

namespace {

FixedCellTextEngine Engine;

// Small enough that a full redraw costs little per input, large enough that
// both plots, their labels and the read-out column have room.
constexpr int32_t CanvasWidth = 320;
constexpr int32_t CanvasHeight = 240;

std::string MakeFolder() {
    std::error_code error;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : "/tmp";
    std::string pattern = (base / "korvel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    // XDG_CONFIG_HOME points here, so korvel.ini is this process's own.
    setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    std::filesystem::create_directories(pattern + "/korvel", error);
    return pattern;
}

void RemoveFolder() {
    std::error_code error;
    std::filesystem::remove_all(Folder(), error);
}

bool FiniteValues(const float* values, int32_t count) {
    return std::all_of(values, values + count, [](float v) { return std::isfinite(v); });
}

}  // namespace

const std::string& Folder() {
    // Never destroyed: the removal at exit still needs the name.
    static const std::string* const folder = [] {
        const auto* made = new std::string(MakeFolder());
        std::atexit(RemoveFolder);
        return made;
    }();
    return *folder;
}

void ResetProgram() {
    ResetAllRecords();
    InstallTextEngine(&Engine);
    if (PlotCanvas.Width() != CanvasWidth || PlotCanvas.Height() != CanvasHeight) {
        PlotCanvas.Resize(CanvasWidth, CanvasHeight);
    }
    // The notice of the simulated source is shown once, at the first drawing.
    OscState.DeviceReady = 1;
}

std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
    const std::string path = Folder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "cannot create the input file");
    Require(std::fwrite(data, 1, size, file) == size, "cannot write the input file");
    std::fclose(file);
    return path;
}

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

void RequireSettingsInRange() {
    const OscSettingsRecord& s = OscSettings;
    Require(s.Korv_Freq >= 0 && s.Korv_Freq <= 3, "Korv_Freq");
    Require(std::isfinite(s.BaseFreq) && s.BaseFreq > 0.0f, "BaseFreq");
    for (int32_t divider : s.FreqDiv)
        Require(divider > 0, "FreqDiv");
    Require(s.Acc_Over >= 1 && s.Acc_Over <= MaxAccOver, "Acc_Over");
    Require(s.Av_Over >= 1 && s.Av_Over <= MaxAvOver, "Av_Over");
    Require(s.Num_Data >= 1 && s.Num_Data <= MaxData, "Num_Data");
    Require(s.Labels_X >= 1 && s.Labels_X <= MaxLabels, "Labels_X");
    Require(s.Labels_Y >= 1 && s.Labels_Y <= MaxLabels, "Labels_Y");
    Require(s.V_Acc >= 1 && s.V_Acc <= MaxDigits && s.T_Acc >= 1 && s.T_Acc <= MaxDigits, "digits");
    Require(s.LFontSize >= 0 && s.LFontSize < FontSizeCount && s.MFontSize >= 0 &&
                s.MFontSize < FontSizeCount,
            "font sizes");
    Require(s.Prehistory >= 0 && s.Prehistory <= 255, "Prehistory");
    Require(s.Data_S >= 0 && s.Data_S < MaxData && s.Data_E >= 0 && s.Data_E < MaxData,
            "sub-window");
    Require(std::isfinite(s.Osc_Freq) && s.Osc_Freq > 0.0f && s.Osc_Freq <= MaxOscFreq, "Osc_Freq");
    for (float value : {s.D_min, s.D_max, s.Amplitude, s.Conversion, s.ZeroLevel})
        Require(std::isfinite(value), "a finite float setting");
    for (int32_t flag : {s.AutoNorm, s.Bipolar, s.Invert, s.AutoConf, s.Sound, s.Grid,
                         s.Follow_Mode, s.Osc_Mode}) {
        Require(flag == 0 || flag == 1, "a flag");
    }
}

void RequireAcceptedRecord() {
    const OscStateRecord& st = OscState;
    Require(st.LoadedLength >= 1 && st.LoadedLength <= MaxData, "LoadedLength");
    Require(OscSettings.Num_Data == st.LoadedLength, "Num_Data = LoadedLength");
    Require(std::isfinite(st.SamplePeriod) && st.SamplePeriod > 0.0f, "SamplePeriod");
    Require(std::isfinite(st.TimeOffset), "TimeOffset");
    Require(st.FileView == 1, "FileView");
    Require(FiniteValues(st.FileData, st.LoadedLength), "finite FileData");
}

void ShowRecord() {
    CreatePlotFonts();
    OscState.AutoNormPending = 1;
    PlotState.EditsLive = 0;
    ProcessRecord();
    RequestAutoNorm();
    RefreshPlot();
    RequireDrawing();
}

void MoveSubWindow(int32_t start, int32_t end) {
    SetSubWindow(start, end);
    RequireDrawing();
}

void RequireDrawing() {
    const int32_t n = OscSettings.Num_Data;
    const OscSettingsRecord& s = OscSettings;
    Require(s.Data_S >= 0 && s.Data_S <= s.Data_E && s.Data_E < n, "sub-window inside the record");
    Require(std::isfinite(OscState.ViewMin) && std::isfinite(OscState.ViewMax), "view range");
    const float* source = OscState.FileView == 1 ? OscState.FileData : OscState.AccBuffer;
    if (FiniteValues(source, n)) {
        Require(FiniteValues(OscState.Record, n),
                "a finite record processed into a non-finite one");
        Require(std::isfinite(OscState.DataMin) && std::isfinite(OscState.DataMax), "data range");
    }
}

}  // namespace korvel::fuzz
