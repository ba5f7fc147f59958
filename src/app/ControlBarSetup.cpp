#include "app/ControlBarSetup.h"

#include <cstdio>
#include <initializer_list>

#include "acquisition/Source.h"
#include "app/SourceCommands.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/Texts.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

constexpr int ReleaseMajor = 1;
constexpr int ReleaseMinor = 5;

// The list starts with the frequencies of the card's standard clock and is
// then rewritten from the clock and dividers actually set.
void FillStandardFrequencies(Controls& bar) {
    char text[32];
    bar.ClearList(top::FrequencyList);
    for (const int mhz : {80, 40, 20, 10}) {
        std::snprintf(text, sizeof text, Text(TextId::FrequencyItemFormat),
                      static_cast<double>(mhz));
        bar.AddListItem(top::FrequencyList, text);
    }
}

}  // namespace

void RebuildFrequencyList() {
    if (InstrumentInUse()) {
        ShowInstrumentRates();
        return;
    }
    Controls& bar = *Ports.topBar;
    const int32_t selected = bar.SelectedListItem(top::FrequencyList);
    bar.ClearList(top::FrequencyList);
    char text[32];
    for (int32_t k = 0; k < 4; ++k) {
        FormatFrequencyItem(k, text, sizeof text);
        bar.AddListItem(top::FrequencyList, text);
    }
    bar.SelectListItem(top::FrequencyList, selected);
}

void FormatMainTitle(char* text, size_t size) {
    std::snprintf(text, size, Text(TextId::MainTitleFormat), ReleaseMajor, ReleaseMinor);
}

void SetUpControlBars() {
    FillStandardFrequencies(*Ports.topBar);
    ShowSettingsInBars();
    char title[128];  // the Russian title takes two bytes a letter
    FormatMainTitle(title, sizeof title);
    Ports.frame->SetTitle(title);
}

void ShowSettingsInBars() {
    Controls& topBar = *Ports.topBar;
    Controls& bottomBar = *Ports.bottomBar;

    topBar.SelectListItem(top::FrequencyList, OscSettings.Korv_Freq);
    SetFrequencyIndex(OscSettings.Korv_Freq);
    ConfigureDevice();
    RebuildFrequencyList();
    topBar.Show(top::Progress, false);
    topBar.SetFace(top::StartStop, Face::Start);

    char text[64];
    std::snprintf(text, sizeof text, "%g", IndexToTime(OscSettings.Data_S) + OscState.TimeOffset);
    bottomBar.SetText(bottom::Min, text);
    std::snprintf(text, sizeof text, "%g",
                  IndexToTime(OscSettings.Data_E) - IndexToTime(OscSettings.Data_S));
    bottomBar.SetText(bottom::Width, text);

    bottomBar.SetChecked(bottom::FollowMode, OscSettings.Follow_Mode != 0);
    topBar.SetChecked(top::Oscillograf, OscSettings.Osc_Mode != 0);
    topBar.Show(top::ShowSpectrum, OscSettings.Osc_Mode != 1);

    // Each write is read back by the field's own handling: Osc_Freq keeps the
    // six digits that "%g" shows.
    std::snprintf(text, sizeof text, "%g", static_cast<double>(OscSettings.Osc_Freq));
    topBar.SetText(top::OscFreq, text);
    std::snprintf(text, sizeof text, "%d", OscSettings.Acc_Over);
    topBar.SetText(top::Accumulator, text);
    std::snprintf(text, sizeof text, "%d", OscSettings.Av_Over);
    bottomBar.SetText(bottom::Average, text);
}

}  // namespace korvel
