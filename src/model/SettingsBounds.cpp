#include "model/SettingsBounds.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "model/OscSettings.h"
#include "model/OscState.h"

namespace korvel {

namespace {

// A count that makes no sense falls back to the default; a count that is only
// too large is held at the limit, which is closest to what was asked for.
void CountWithin(int32_t& field, int32_t lo, int32_t hi, int32_t fallback) {
    if (field < lo) field = fallback;
    if (field > hi) field = hi;
}

void FiniteOr(float& field, float fallback) {
    if (!std::isfinite(field)) field = fallback;
}

void Flag(int32_t& field) {
    field = field != 0 ? 1 : 0;
}

}  // namespace

bool PeriodUsable(int32_t divider, float baseFreqMhz) {
    if (!(std::isfinite(baseFreqMhz) && baseFreqMhz > 0.0f)) return false;
    const auto periodUs =
        static_cast<float>(static_cast<double>(divider) / static_cast<double>(baseFreqMhz));
    return std::isnormal(periodUs) && periodUs > 0.0f;
}

bool ClockGivesPeriods(float baseFreqMhz, const int32_t (&dividers)[4]) {
    return std::all_of(std::begin(dividers), std::end(dividers), [baseFreqMhz](int32_t divider) {
        return PeriodUsable(divider, baseFreqMhz);
    });
}

void BringSettingsIntoRange() {
    const OscSettingsRecord defaults{};
    OscSettingsRecord& s = OscSettings;

    // The frequency index selects one of four dividers; anything else is noise.
    if (s.Korv_Freq < 0 || s.Korv_Freq > 3) s.Korv_Freq = defaults.Korv_Freq;
    // Every time scale divides by the base clock and the dividers. A divider of
    // zero or less divides nothing: its default stands. A clock that is no
    // positive number, or that gives some divider a period of zero, infinity
    // or a denormal (a clock of 1e-44 MHz, say), is no clock the time axes can
    // use: the default clock stands, as the Settings dialog refuses such a one.
    for (int k = 0; k < 4; ++k) {
        if (s.FreqDiv[k] <= 0) s.FreqDiv[k] = defaults.FreqDiv[k];
    }
    if (!ClockGivesPeriods(s.BaseFreq, s.FreqDiv)) s.BaseFreq = defaults.BaseFreq;

    CountWithin(s.Acc_Over, 1, MaxAccOver, defaults.Acc_Over);
    CountWithin(s.Av_Over, 1, MaxAvOver, defaults.Av_Over);
    // Record length: no record at all means "not set"; longer than the buffers is cut.
    CountWithin(s.Num_Data, 1, MaxData, defaults.Num_Data);
    CountWithin(s.Labels_X, 1, MaxLabels, defaults.Labels_X);
    CountWithin(s.Labels_Y, 1, MaxLabels, defaults.Labels_Y);
    CountWithin(s.V_Acc, 1, MaxDigits, defaults.V_Acc);
    CountWithin(s.T_Acc, 1, MaxDigits, defaults.T_Acc);
    // Font sizes index an eleven-entry table; the nearest entry is the one meant.
    s.LFontSize = std::clamp(s.LFontSize, 0, FontSizeCount - 1);
    s.MFontSize = std::clamp(s.MFontSize, 0, FontSizeCount - 1);
    s.Prehistory = std::clamp(s.Prehistory, 0, 255);
    // The sub-window is limited to the record when it is drawn; here only to the buffers.
    s.Data_S = std::clamp(s.Data_S, 0, MaxData - 1);
    s.Data_E = std::clamp(s.Data_E, 0, MaxData - 1);

    // A rate of zero or less has no period: the default rate stands. A faster rate
    // than the timer can keep is held at the fastest it can.
    if (!(std::isfinite(s.Osc_Freq) && s.Osc_Freq > 0.0f)) s.Osc_Freq = defaults.Osc_Freq;
    s.Osc_Freq = std::min(s.Osc_Freq, MaxOscFreq);

    FiniteOr(s.D_min, defaults.D_min);
    FiniteOr(s.D_max, defaults.D_max);
    FiniteOr(s.Amplitude, defaults.Amplitude);
    FiniteOr(s.Conversion, defaults.Conversion);
    FiniteOr(s.ZeroLevel, defaults.ZeroLevel);

    for (int32_t* flag : {&s.AutoNorm, &s.Bipolar, &s.Invert, &s.AutoConf, &s.Sound, &s.Grid,
                          &s.Follow_Mode, &s.Osc_Mode}) {
        Flag(*flag);
    }
}

}  // namespace korvel
