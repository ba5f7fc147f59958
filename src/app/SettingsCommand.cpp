#include "app/SettingsCommand.h"

#include <algorithm>
#include <cstring>

#include "acquisition/ProcessRecord.h"
#include "app/ControlBarSetup.h"
#include "app/MainCommands.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"

namespace korvel {

namespace {

struct Noted {
    float baseFreq = OscSettings.BaseFreq;
    int32_t dividers[4]{OscSettings.FreqDiv[0], OscSettings.FreqDiv[1], OscSettings.FreqDiv[2],
                        OscSettings.FreqDiv[3]};
    int32_t prehistory = OscSettings.Prehistory;
    int32_t numData = OscSettings.Num_Data;
    int32_t frequencyIndex = OscSettings.Korv_Freq;
    float samplePeriod = OscState.SamplePeriod;

    bool SameClock() const {
        return OscSettings.BaseFreq == baseFreq && OscSettings.Korv_Freq == frequencyIndex &&
               std::equal(std::begin(dividers), std::end(dividers), OscSettings.FreqDiv);
    }
};

}  // namespace

void SettingsCommand(const std::function<bool()>& runDialog) {
    if (PeriodicCaptureOwnsDisplay()) return;
    const Noted noted;
    const bool ok = runDialog();
    if (!ok) {
        SetParam(ParamBaseFreq, noted.baseFreq);
        OscSettings.Prehistory = noted.prehistory;
        SetParam(ParamFreqDividers, noted.dividers);
        OscSettings.Num_Data = noted.numData;
    }
    if (noted.SameClock()) OscState.SamplePeriod = noted.samplePeriod;
    // A frequency button, or a clock put back by Cancel, moved the time
    // scale: the fields show the same samples in the new times, and the
    // whole plot is drawn again, so that nothing on the screen keeps the old.
    const bool rescaled = OscState.SamplePeriod != noted.samplePeriod && OscState.FileView != 1;
    if (rescaled) ShowSubWindowInNewTimes();
    if (!ok && rescaled && MainWindowActive()) RefreshPlot();
    if (ok) {
        CreatePlotFonts();
        ConfigureDevice();
        ProcessRecord();
        RequestAutoNorm();
        RefreshPlot();
    }
    RebuildFrequencyList();
}

}  // namespace korvel
