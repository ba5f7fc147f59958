#include "model/SettingFields.h"

#include <iterator>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"

namespace korvel {

namespace {

constexpr auto I = ConfigValueType::Integer;
constexpr auto F = ConfigValueType::Float;
OscSettingsRecord& S = OscSettings;

// In record order; the settings that are not stored follow with index 0.
// FreqDiv0 stands for the block of the four dividers in GetParam.
const ConfigEntry Table[] = {
    {1, &S.BaseAddr, nullptr, "BaseAddr", I, ParamBaseAddr},
    {2, &S.Korv_Freq, nullptr, "Korv_Freq", I, ParamKorvFreq},
    {3, &S.Acc_Over, nullptr, "Acc_Over", I, ParamAccOver},
    {4, &S.Av_Over, nullptr, "Av_Over", I, ParamAvOver},
    {5, nullptr, &S.D_min, "D_min", F, ParamDMin},
    {6, nullptr, &S.D_max, "D_max", F, ParamDMax},
    {7, &S.AutoNorm, nullptr, "AutoNorm", I, ParamAutoNorm},
    {8, nullptr, &S.Conversion, "Conversion", F, NoParamId},
    {9, &S.Bipolar, nullptr, "Bipolar", I, ParamBipolar},
    {10, &S.Invert, nullptr, "Invert", I, ParamInvert},
    {11, nullptr, &S.BaseFreq, "BaseFreq", F, ParamBaseFreq},
    {12, &S.AutoConf, nullptr, "AutoConf", I, ParamAutoConf},
    {13, &S.FreqDiv[0], nullptr, "FreqDiv0", I, ParamFreqDividers},
    {14, &S.FreqDiv[1], nullptr, "FreqDiv1", I, NoParamId},
    {15, &S.FreqDiv[2], nullptr, "FreqDiv2", I, NoParamId},
    {16, &S.FreqDiv[3], nullptr, "FreqDiv3", I, NoParamId},
    {17, &S.Sound, nullptr, "Sound", I, NoParamId},
    {18, nullptr, &S.Amplitude, "Amplitude", F, ParamAmplitude},
    {19, nullptr, &S.ZeroLevel, "ZeroLevel", F, ParamZeroLevel},
    {20, &S.Labels_X, nullptr, "Labels_X", I, NoParamId},
    {21, &S.Labels_Y, nullptr, "Labels_Y", I, NoParamId},
    {22, &S.Data_S, nullptr, "Data_S", I, NoParamId},
    {23, &S.Data_E, nullptr, "Data_E", I, NoParamId},
    {24, &S.Grid, nullptr, "Grid", I, NoParamId},
    {25, &S.Follow_Mode, nullptr, "Follow_Mode", I, NoParamId},
    {26, &S.Prehistory, nullptr, "Prehistory", I, NoParamId},
    {27, &S.Num_Data, nullptr, "Num_Data", I, NoParamId},
    {28, &S.Osc_Mode, nullptr, "Osc_Mode", I, NoParamId},
    {29, nullptr, &S.Osc_Freq, "Osc_Freq", F, NoParamId},
    {30, &S.LFontSize, nullptr, "LFontSize", I, ParamLFontSize},
    {31, &S.MFontSize, nullptr, "MFontSize", I, ParamMFontSize},
    {32, &S.V_Acc, nullptr, "V_Acc", I, ParamVAcc},
    {33, &S.T_Acc, nullptr, "T_Acc", I, ParamTAcc},
    {0, &OscState.PrevBaseAddr, nullptr, "PrevBaseAddr", I, ParamPrevBaseAddr},
    {0, nullptr, &OscState.ViewMin, "ViewMin", F, ParamViewMin},
    {0, nullptr, &OscState.ViewMax, "ViewMax", F, ParamViewMax},
};

}  // namespace

ConfigEntry GetConfigEntry(int32_t index) {
    if (index < 1 || index > ConfigEntryCount) return ConfigEntry{};
    return Table[index - 1];
}

bool IsHexadecimal(const ConfigEntry& entry) {
    return entry.intField == &OscSettings.BaseAddr;
}

ConfigEntry SettingOfParam(uint32_t id) {
    for (const ConfigEntry& entry : Table) {
        if (entry.paramId >= 0 && static_cast<uint32_t>(entry.paramId) == id) return entry;
    }
    return ConfigEntry{};
}

}  // namespace korvel
