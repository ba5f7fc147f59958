#include "files/ConfigEntries.h"

#include "model/OscSettings.h"

namespace korvel {

ConfigEntry GetConfigEntry(int32_t index) {
    auto i = [index](int32_t& field, const char* key) {
        return ConfigEntry{index, &field, nullptr, key, ConfigValueType::Integer};
    };
    auto f = [index](float& field, const char* key) {
        return ConfigEntry{index, nullptr, &field, key, ConfigValueType::Float};
    };
    OscSettingsRecord& s = OscSettings;
    switch (index) {
        case 1:
            return i(s.BaseAddr, "BaseAddr");
        case 2:
            return i(s.Korv_Freq, "Korv_Freq");
        case 3:
            return i(s.Acc_Over, "Acc_Over");
        case 4:
            return i(s.Av_Over, "Av_Over");
        case 5:
            return f(s.D_min, "D_min");
        case 6:
            return f(s.D_max, "D_max");
        case 7:
            return i(s.AutoNorm, "AutoNorm");
        case 8:
            return f(s.Conversion, "Conversion");
        case 9:
            return i(s.Bipolar, "Bipolar");
        case 10:
            return i(s.Invert, "Invert");
        case 11:
            return f(s.BaseFreq, "BaseFreq");
        case 12:
            return i(s.AutoConf, "AutoConf");
        case 13:
            return i(s.FreqDiv[0], "FreqDiv0");
        case 14:
            return i(s.FreqDiv[1], "FreqDiv1");
        case 15:
            return i(s.FreqDiv[2], "FreqDiv2");
        case 16:
            return i(s.FreqDiv[3], "FreqDiv3");
        case 17:
            return i(s.Sound, "Sound");
        case 18:
            return f(s.Amplitude, "Amplitude");
        case 19:
            return f(s.ZeroLevel, "ZeroLevel");
        case 20:
            return i(s.Labels_X, "Labels_X");
        case 21:
            return i(s.Labels_Y, "Labels_Y");
        case 22:
            return i(s.Data_S, "Data_S");
        case 23:
            return i(s.Data_E, "Data_E");
        case 24:
            return i(s.Grid, "Grid");
        case 25:
            return i(s.Follow_Mode, "Follow_Mode");
        case 26:
            return i(s.Prehistory, "Prehistory");
        case 27:
            return i(s.Num_Data, "Num_Data");
        case 28:
            return i(s.Osc_Mode, "Osc_Mode");
        case 29:
            return f(s.Osc_Freq, "Osc_Freq");
        case 30:
            return i(s.LFontSize, "LFontSize");
        case 31:
            return i(s.MFontSize, "MFontSize");
        case 32:
            return i(s.V_Acc, "V_Acc");
        case 33:
            return i(s.T_Acc, "T_Acc");
        default:
            return ConfigEntry{};
    }
}

}  // namespace korvel
