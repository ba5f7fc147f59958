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
// The card's base clock, MHz: 1 kHz to 100 GHz. Every time scale divides by it,
// so a clock of almost nothing would make the sample period infinite.
inline constexpr float MinBaseFreq = 0.001f;
inline constexpr float MaxBaseFreq = 100000.0f;

// A base clock that is a positive number, held within MinBaseFreq..MaxBaseFreq;
// fallback for zero, a negative number, infinity or NaN, which name no clock.
float BaseFreqWithin(double mhz, float fallback);

// Brings every field of OscSettings into range; each rule says why in the code.
void BringSettingsIntoRange();

}  // namespace korvel
