#include "app/SourceCommands.h"

#include <cstdio>
#include <string>

#include "acquisition/Source.h"
#include "acquisition/TickedCapture.h"
#include "app/ControlBarSetup.h"
#include "app/MainCommands.h"
#include "display/Plot.h"
#include "files/DeviceFile.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

InstrumentChoice PendingSource;

}  // namespace

void ShowSourceInTitle() {
    char title[512];
    FormatMainTitle(title, sizeof title);
    std::string text = title;
    if (InstrumentInUse()) text += " \u2013 " + SourceName();
    Ports.frame->SetTitle(text.c_str());
}

bool SelectSource(const InstrumentChoice& choice, bool remember) {
    if (PeriodicCaptureOwnsDisplay()) return false;
    CancelTickedCapture();
    std::string error;
    const bool opened = UseSource(choice, error);
    if (!opened) {
        char text[1024];
        std::snprintf(text, sizeof text, Text(TextId::DeviceOpenFailed), error.c_str());
        Ports.dialogs->Message(text, nullptr);
    }
    if (remember) SaveDeviceChoice(opened ? Source.choice : InstrumentChoice{});
    Ports.topBar->SelectListItem(top::FrequencyList, OscSettings.Korv_Freq);
    RebuildFrequencyList();
    ShowSourceInTitle();
    if (OscState.FileView != 1) ShowSubWindowInNewTimes();
    if (MainWindowActive()) RefreshPlot();
    return opened;
}

std::string DeviceEntryText(const InstrumentDevice& device) {
    std::string text = device.driver;
    if (!device.model.empty()) text += ": " + device.model;
    if (!device.connection.empty()) text += " (" + device.connection + ")";
    return text;
}

void SetStartSource(const InstrumentChoice& choice) {
    PendingSource = choice;
}

const InstrumentChoice& StartSource() {
    return PendingSource;
}

void ShowInstrumentRates() {
    Controls& bar = *Ports.topBar;
    bar.ClearList(top::FrequencyList);
    const std::vector<uint64_t>& rates = Source.device.sampleRatesHz;
    int32_t selected = -1;
    for (size_t k = 0; k < rates.size(); ++k) {
        bar.AddListItem(top::FrequencyList, RateText(rates[k]).c_str());
        if (rates[k] == Source.choice.sampleRateHz) selected = static_cast<int32_t>(k);
    }
    if (selected < 0 && Source.choice.sampleRateHz != 0) {
        // A rate the device reports but does not list: shown all the same.
        bar.AddListItem(top::FrequencyList, RateText(Source.choice.sampleRateHz).c_str());
        selected = static_cast<int32_t>(rates.size());
    }
    bar.SelectListItem(top::FrequencyList, selected);
}

void InstrumentRateSelected(int32_t index) {
    const std::vector<uint64_t>& rates = Source.device.sampleRatesHz;
    if (index < 0 || static_cast<size_t>(index) >= rates.size()) return;
    InstrumentChoice choice = Source.choice;
    choice.sampleRateHz = rates[static_cast<size_t>(index)];
    SelectSource(choice, true);
}

}  // namespace korvel
