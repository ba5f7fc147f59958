// The persistent settings: one 32-bit field per configuration key, kept in
// korvel.ini between runs. One process-wide instance, read and written directly.
#pragma once

#include <cstdint>

namespace korvel {

struct OscSettingsRecord {
    int32_t BaseAddr = 0x300;    // I/O base address of the card, edited in hexadecimal
    int32_t Korv_Freq = 0;       // sampling-frequency index 0..3 into FreqDiv
    int32_t Acc_Over = 1;        // records summed into one captured record
    int32_t Av_Over = 3;         // moving-average window for display, samples
    float D_min = 0.0f;          // lower bound of the vertical range, mV
    float D_max = 100.0f;        // upper bound of the vertical range, mV
    int32_t AutoNorm = 1;        // 1: each processing makes the data's range the vertical range
    float Conversion = 7.8125f;  // millivolts per sample code
    int32_t Bipolar = 1;         // input polarity flag; stored, drives nothing here
    int32_t Invert = 0;          // 1: every captured sample is negated
    float BaseFreq = 80.0f;      // base clock of the card, MHz
    int32_t AutoConf = 0;        // 1: the configuration is saved at exit
    int32_t FreqDiv[4]{1, 2, 4,
                       8};      // clock dividers of the four frequency indices (keys FreqDiv0..3)
    int32_t Sound = 0;          // 1: captures signal their start and end with beeps
    float Amplitude = 2000.0f;  // full-scale input range, mV (256 codes span it)
    float ZeroLevel = 0.0f;     // level subtracted from every processed sample, mV
    int32_t Labels_X = 10;      // wanted number of time-axis labels
    int32_t Labels_Y = 10;      // wanted number of voltage-axis labels
    int32_t Data_S = 0;         // first sample of the sub-window
    int32_t Data_E = 1000;      // last sample of the sub-window
    int32_t Grid = 0;           // 1: the sub-window plot draws a grid
    int32_t Follow_Mode = 0;    // 1: cursor and reference snap to the trace
    int32_t Prehistory = 0;     // pre-trigger share of the record, 0..255 (1/255 steps)
    int32_t Num_Data = 65534;   // record length, samples
    int32_t Osc_Mode = 0;       // 1: the "Oscillograf" box is ticked (periodic mode selected)
    float Osc_Freq = 2.0f;      // repetition rate of the periodic mode, Hz
    int32_t LFontSize = 4;      // size index of the axis-label font
    int32_t MFontSize = 5;      // size index of the read-out font
    int32_t V_Acc = 1;          // decimal digits shown for voltages
    int32_t T_Acc = 3;          // decimal digits shown for times
};

extern OscSettingsRecord OscSettings;

// Puts every field to its default: the state of a first start without korvel.ini.
void ResetOscSettings();

}  // namespace korvel
