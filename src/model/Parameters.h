// Numbered access to the acquisition settings. Every change that has a side
// effect on a derived value (SamplePeriod, Conversion, PrevBaseAddr) goes
// through SetParam, so the derived values cannot drift from their sources.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel {

// Parameter ids of GetParam/SetParam.
enum ParamId : uint32_t {
    ParamAccOver = 0,
    ParamAvOver = 1,
    ParamAutoNorm = 2,
    ParamDMin = 3,
    ParamDMax = 4,
    ParamBipolar = 5,
    ParamInvert = 6,
    ParamBaseAddr = 7,
    ParamPrevBaseAddr = 8,
    ParamAutoConf = 9,
    ParamKorvFreq = 10,
    ParamBaseFreq = 11,
    ParamFreqDividers = 12,
    ParamAmplitude = 13,
    ParamZeroLevel = 14,
    ParamViewMin = 15,
    ParamViewMax = 16,
    ParamLFontSize = 17,
    ParamMFontSize = 18,
    ParamVAcc = 19,
    ParamTAcc = 20,
};

enum class ParamType { None, Int, Float, DividerBlock };

// Access to one parameter's field: an int, a float, or the block of the four
// dividers (intField then points at FreqDiv[0]). type None: no such id.
struct ParamRef {
    ParamType type = ParamType::None;
    int32_t* intField = nullptr;
    float* floatField = nullptr;
};

// Ids outside 0..20 (compared unsigned, so -1 is outside too) give type None.
ParamRef GetParam(uint32_t id);

// Stores a number into the parameter's field, converted to the field's type
// (ints truncate toward zero and saturate), and performs the side effect.
// A base clock that gives some divider no ordinary positive period (see
// ClockGivesPeriods) is refused: every time scale of the program divides by
// it. Ids outside 0..20, and id 12 (a block of four, see below), change nothing.
void SetParam(uint32_t id, double value);

// Id 12: the four dividers in index order, then SamplePeriod follows. A divider
// that is not positive, or that would make the period infinite with the
// present clock, keeps its old value.
void SetParam(uint32_t id, const int32_t (&dividers)[4]);

// Selects sampling-frequency index k and makes SamplePeriod follow it. An index
// outside 0..3 selects the nearest of them.
void SetFrequencyIndex(int32_t k);

// The device configuration hook: a real card would be programmed here from
// BaseAddr, Korv_Freq and the dividers. The simulated source needs nothing.
void ConfigureDevice();

// The text of entry k (0..3) of the main window's frequency list: "%g Mhz" of
// BaseFreq / FreqDiv[k], computed in double.
void FormatFrequencyItem(int32_t k, char* text, size_t size);

}  // namespace korvel
