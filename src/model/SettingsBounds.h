// The bounds within which the rest of the program can live with a setting.
// Values from outside (korvel.ini, a companion file) are brought into them.
#pragma once

#include <cstdint>

namespace korvel {

// A manual capture sums this many records at most: the sum of 100000 records of
// codes up to 130 stays an exact float, and the capture still ends in seconds.
inline constexpr int32_t MaxAccOver = 100000;
// A moving average wider than twice the record already spans all of it everywhere.
inline constexpr int32_t MaxAvOver = 1000000;
// More labels than this never fit on any screen; the label fit counts down from it.
inline constexpr int32_t MaxLabels = 100;
inline constexpr int32_t MaxDigits = 9;
// The oscillograph timer period is trunc(1000 / Osc_Freq) ms and must stay >= 1 ms.
inline constexpr float MaxOscFreq = 1000.0f;
inline constexpr int32_t FontSizeCount = 11;

// True when the divider turns the base clock (MHz) into a sample period that
// is an ordinary positive float: no zero, no infinity, no denormal.
bool PeriodUsable(int32_t divider, float baseFreqMhz);
// True when every one of the four dividers does.
bool ClockGivesPeriods(float baseFreqMhz, const int32_t (&dividers)[4]);

// Brings every field of OscSettings into range; each rule says why in the code.
void BringSettingsIntoRange();

}  // namespace korvel
