#include "acquisition/Source.h"

#include <cstdio>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/Texts.h"
#include "ports/Ports.h"

namespace korvel {

SourceRecord Source;

namespace {

void TakeRate(double hz) {
    OscState.SourceRateHz = hz;
    // A shown data file keeps its own time step until a capture leaves it.
    if (OscState.FileView != 1) SetFrequencyIndex(OscSettings.Korv_Freq);
}

}  // namespace

bool UseSource(const InstrumentChoice& choice, std::string& error) {
    if (choice.IsSimulated()) {
        Ports.instrument->Close();
        Source = {};
        TakeRate(0.0);
        return true;
    }
    InstrumentDevice device;
    if (!Ports.instrument->Open(choice, device, error)) {
        Source = {};
        TakeRate(0.0);
        return false;
    }
    Source.choice = choice;
    Source.device = device;
    if (device.sampleRateHz != 0) Source.choice.sampleRateHz = device.sampleRateHz;
    if (Source.choice.channel.empty() && !device.channels.empty())
        Source.choice.channel = device.channels.front();
    TakeRate(static_cast<double>(Source.choice.sampleRateHz));
    return true;
}

std::string RateText(uint64_t hz) {
    const char* unit = "Hz";
    double value = static_cast<double>(hz);
    if (hz >= 1000000000) {
        value /= 1e9;
        unit = "GHz";
    } else if (hz >= 1000000) {
        value /= 1e6;
        unit = "MHz";
    } else if (hz >= 1000) {
        value /= 1e3;
        unit = "kHz";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%g %s", value, unit);
    return text;
}

std::string SourceName() {
    if (!InstrumentInUse()) return Text(TextId::SourceSimulated);
    std::string name = Source.choice.driver;
    if (!Source.device.model.empty()) name += ": " + Source.device.model;
    if (!Source.choice.channel.empty()) name += ", " + Source.choice.channel;
    if (Source.choice.sampleRateHz != 0) name += ", " + RateText(Source.choice.sampleRateHz);
    return name;
}

void LeaveFileView() {
    if (OscState.FileView != 1) return;
    OscState.TimeOffset = 0.0f;
    OscSettings.Num_Data = MaxData;
    OscState.LoadedLength = MaxData;
    SetFrequencyIndex(OscSettings.Korv_Freq);
    OscState.FileView = 0;
}

void RefreshConversion() {
    OscState.DeviceVersion = 255;
    OscSettings.Conversion =
        InstrumentInUse() ? 1.0f : static_cast<float>(OscSettings.Amplitude * 0.00390625);
}

void ResetSource() {
    Source = {};
}

}  // namespace korvel
