#include "model/Parameters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/SettingFields.h"
#include "model/SettingsBounds.h"
#include "model/Texts.h"

namespace korvel {

namespace {

int32_t SaturatingInt(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(value), lo, hi));
}

int32_t ValidFrequencyIndex(int32_t k) {
    return std::clamp(k, 0, 3);
}

// SamplePeriod = FreqDiv[Korv_Freq] / BaseFreq, in microseconds since BaseFreq
// is in MHz; with an instrument, one over its sample rate: the clock and the
// dividers are the simulated card's.
void UpdateSamplePeriod() {
    if (OscState.SourceRateHz > 0.0) {
        OscState.SamplePeriod = static_cast<float>(1e6 / OscState.SourceRateHz);
        return;
    }
    const int32_t divider = OscSettings.FreqDiv[ValidFrequencyIndex(OscSettings.Korv_Freq)];
    OscState.SamplePeriod = static_cast<float>(static_cast<double>(divider) /
                                               static_cast<double>(OscSettings.BaseFreq));
}

}  // namespace

ParamRef GetParam(uint32_t id) {
    const ConfigEntry entry = SettingOfParam(id);
    if (entry.paramId == NoParamId) return ParamRef{};
    if (id == ParamFreqDividers) return ParamRef{ParamType::DividerBlock, entry.intField, nullptr};
    if (entry.type == ConfigValueType::Float)
        return ParamRef{ParamType::Float, nullptr, entry.floatField};
    return ParamRef{ParamType::Int, entry.intField, nullptr};
}

void SetParam(uint32_t id, double value) {
    const ParamRef ref = GetParam(id);
    switch (id) {
        case ParamBaseAddr:
            OscState.PrevBaseAddr = OscSettings.BaseAddr;
            break;
        case ParamBaseFreq:
            // Every time scale divides by the clock: one that gives some divider
            // no ordinary period (zero, less, NaN, or so small that the period
            // is infinite) is refused, whoever offers it.
            if (!(std::isfinite(value) &&
                  ClockGivesPeriods(static_cast<float>(value), OscSettings.FreqDiv))) {
                return;
            }
            break;
        case ParamFreqDividers:
            return;  // a block, not a number: see the overload
        default:
            break;
    }
    if (ref.type == ParamType::Int) *ref.intField = SaturatingInt(value);
    if (ref.type == ParamType::Float) *ref.floatField = static_cast<float>(value);

    if (id == ParamBaseFreq) UpdateSamplePeriod();
    if (id == ParamAmplitude) {
        OscSettings.Conversion = static_cast<float>(OscSettings.Amplitude * 0.00390625);
    }
}

void SetParam(uint32_t id, const int32_t (&dividers)[4]) {
    if (id != ParamFreqDividers) return;
    for (int k = 0; k < 4; ++k) {
        if (dividers[k] > 0 && PeriodUsable(dividers[k], OscSettings.BaseFreq)) {
            OscSettings.FreqDiv[k] = dividers[k];
        }
    }
    UpdateSamplePeriod();
}

void SetFrequencyIndex(int32_t k) {
    OscSettings.Korv_Freq = ValidFrequencyIndex(k);
    UpdateSamplePeriod();
}

void ConfigureDevice() {}

void FormatFrequencyItem(int32_t k, char* text, size_t size) {
    const double mhz = static_cast<double>(OscSettings.BaseFreq) /
                       static_cast<double>(OscSettings.FreqDiv[ValidFrequencyIndex(k)]);
    std::snprintf(text, size, Text(TextId::FrequencyItemFormat), mhz);
}

}  // namespace korvel
