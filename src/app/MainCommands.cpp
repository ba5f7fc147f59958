#include "app/MainCommands.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "acquisition/Source.h"
#include "acquisition/TickedCapture.h"
#include "app/SourceCommands.h"
#include "display/Plot.h"
#include "display/PlotMouse.h"
#include "display/SubWindowFields.h"
#include "files/ConfigFile.h"
#include "model/Conversions.h"
#include "model/FieldNumbers.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/SettingsBounds.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

bool mainWindowActive = false;

// Longer than any number a field can sensibly hold; the scans read only its start.
constexpr size_t FieldTextSize = 64;

// The up-down controls: the field's number minus the proposed change of
// position, written back when it stays positive.
int32_t StepField(Controls& bar, int32_t fieldId, int32_t proposedDelta) {
    int32_t number = 0;
    if (!ReadFieldCount(bar, fieldId, number)) return 0;
    const int64_t result =
        std::min<int64_t>(int64_t{number} - proposedDelta, std::numeric_limits<int32_t>::max());
    if (result > 0) {
        char text[FieldTextSize];
        std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(result));
        bar.SetText(fieldId, text);
    }
    return 0;
}

}  // namespace

void SetMainWindowActive(bool active) {
    mainWindowActive = active;
}

bool MainWindowActive() {
    return mainWindowActive;
}

void ResetMainWindowState() {
    mainWindowActive = false;
}

void CancelCommand() {
    CancelTickedCapture();
    PlotCancel();
}

void StartStopCommand() {
    if (OscState.SpectrumRunning == 1) return;
    OscState.ExtStart = Ports.topBar->IsChecked(top::External) ? 1 : 0;
    StartStop();
}

void ManualStartCommand() {
    if (OscState.SpectrumRunning == 1) return;
    // A waiting external run keeps ExtStart, so that this start cancels it.
    if (OscState.ExtStart == 1 && OscState.ExtArmed == 0) OscState.ExtStart = 0;
    StartStop();
}

void ExternalStartCommand() {
    if (OscState.SpectrumRunning == 1) return;
    OscState.ExtStart = 1;
    StartStop();
}

void OscillografClicked() {
    if (OscState.OscToggleBusy == 1 || OscState.SpectrumRunning == 1) return;
    OscState.OscToggleBusy = 1;
    Controls& bar = *Ports.topBar;
    if (!bar.IsChecked(top::Oscillograf) && OscState.OscRunning == 1) {
        // StartStop stops the running mode only while it sees the box ticked.
        bar.SetChecked(top::Oscillograf, true);
        StartStop();
        bar.SetChecked(top::Oscillograf, false);
    }
    OscSettings.Osc_Mode = bar.IsChecked(top::Oscillograf) ? 1 : 0;
    bar.Show(top::ShowSpectrum, OscSettings.Osc_Mode == 0);
    OscState.OscToggleBusy = 0;
}

void FrequencySelected() {
    Controls& bar = *Ports.topBar;
    if (PeriodicCaptureOwnsDisplay()) {
        // The list goes back to the rate in use.
        if (InstrumentInUse()) {
            ShowInstrumentRates();
        } else {
            bar.SelectListItem(top::FrequencyList, OscSettings.Korv_Freq);
        }
        return;
    }
    if (InstrumentInUse()) {
        // Choosing the source again puts the screen in the new times.
        InstrumentRateSelected(bar.SelectedListItem(top::FrequencyList));
        return;
    }
    SetFrequencyIndex(bar.SelectedListItem(top::FrequencyList));
    ShowSubWindowInNewTimes();
    // The overview's times too: one scale on the whole screen.
    if (mainWindowActive) RefreshPlot();
}

void ShowSubWindowInNewTimes() {
    // Only the time scale changes; the fields show the same samples in the new
    // times, with six decimals. Both texts are made before either is written:
    // writing Min redraws the sub-window at once and moves Data_E.
    Controls& bottomBar = *Ports.bottomBar;
    char minText[FieldTextSize];
    char widthText[FieldTextSize];
    std::snprintf(minText, sizeof minText, "%f",
                  IndexToTime(OscSettings.Data_S) + OscState.TimeOffset);
    std::snprintf(widthText, sizeof widthText, "%f",
                  IndexToTime(OscSettings.Data_E) - IndexToTime(OscSettings.Data_S));
    bottomBar.SetText(bottom::Min, minText);
    bottomBar.SetText(bottom::Width, widthText);
    bottomBar.Repaint();
}

void AverageChanged() {
    int32_t number = 0;
    // A window wider than MaxAvOver already spans every record whole, so a
    // larger number draws the same as MaxAvOver.
    if (ReadFieldCount(*Ports.bottomBar, bottom::Average, number))
        SetParam(ParamAvOver, std::min(number, MaxAvOver));
    if (mainWindowActive && !PeriodicCaptureOwnsDisplay()) {
        ProcessRecord();
        RefreshPlot();
    }
}

// Any number is taken as typed; a rate without a period (zero or less) is
// refused when the mode is started, where the user is told why.
void OscFreqChanged() {
    char text[FieldTextSize];
    Ports.topBar->GetText(top::OscFreq, text, sizeof text);
    ScanFloat(text, OscSettings.Osc_Freq);
}

int32_t AccumulatorStep(int32_t proposedDelta) {
    return StepField(*Ports.topBar, top::Accumulator, proposedDelta);
}

int32_t AverageStep(int32_t proposedDelta) {
    return StepField(*Ports.bottomBar, bottom::Average, proposedDelta);
}

void SetZeroCommand() {
    if (PeriodicCaptureOwnsDisplay()) return;
    SetZeroLevel();
}

void FollowModeClicked() {
    Controls& bar = *Ports.bottomBar;
    if (PeriodicCaptureOwnsDisplay()) {
        bar.SetChecked(bottom::FollowMode, OscSettings.Follow_Mode != 0);
        return;
    }
    OscSettings.Follow_Mode = bar.IsChecked(bottom::FollowMode) ? 1 : 0;
}

void TopBarTextChanged(int32_t id) {
    if (id == top::OscFreq) OscFreqChanged();
}

void BottomBarTextChanged(int32_t id) {
    if (id == bottom::Average) AverageChanged();
    if (id == bottom::Min || id == bottom::Width) SubWindowFieldChanged();
}

void SaveConfigOnExit() {
    if (OscSettings.AutoConf != 0) SaveConfig();
}

}  // namespace korvel
