// Control ids of the main window's two control bars and its commands. The
// same id can mean different controls in the two bars: the bar decides.
#pragma once

#include <cstdint>

namespace korvel {

// Upper control bar.
namespace top {
inline constexpr int32_t Open = 57601;
inline constexpr int32_t Save = 57603;
inline constexpr int32_t WinSave = 57604;
inline constexpr int32_t FrequencyList = 1020;
inline constexpr int32_t StartStop = 1011;
inline constexpr int32_t External = 1007;
inline constexpr int32_t Progress = 1023;
inline constexpr int32_t AccumulatorLabel = 1027;
inline constexpr int32_t Accumulator = 1010;
inline constexpr int32_t AccumulatorSpin = 1021;
inline constexpr int32_t Oscillograf = 1013;
inline constexpr int32_t OscFreq = 1032;
inline constexpr int32_t ShowSpectrum = 1051;
}  // namespace top

// Lower control bar.
namespace bottom {
inline constexpr int32_t MinLabel = 1026;
inline constexpr int32_t Min = 1000;
inline constexpr int32_t MinUnit = 1039;
inline constexpr int32_t WidthLabel = 1027;
inline constexpr int32_t Width = 1006;
inline constexpr int32_t WidthUnit = 1040;
inline constexpr int32_t CopyPlot = 1008;
inline constexpr int32_t AverageLabel = 1038;
inline constexpr int32_t Average = 1009;
inline constexpr int32_t AverageSpin = 1022;
inline constexpr int32_t SetZero = 1043;
inline constexpr int32_t FollowMode = 1012;
}  // namespace bottom

// Menu and accelerator commands.
namespace command {
inline constexpr int32_t Open = 57601;
inline constexpr int32_t Save = 57603;
inline constexpr int32_t WinSave = 57604;
inline constexpr int32_t Exit = 32770;
inline constexpr int32_t Settings = 32771;
inline constexpr int32_t ManualStart = 32772;
inline constexpr int32_t ExternalStart = 32773;
inline constexpr int32_t Help = 57670;
inline constexpr int32_t About = 57664;
inline constexpr int32_t Device = 32780;  // the Device dialog
inline constexpr int32_t Cancel = 32781;  // Escape: stops what a key or a click started
}  // namespace command

}  // namespace korvel
