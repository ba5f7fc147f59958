// Turns the raw material of a record (the accumulated codes of a capture, or
// the millivolts of a data file) into Record, the millivolts that the plot,
// the cursors, the files and the spectrum use.
#pragma once

namespace korvel {

// Divides out the accumulation, converts codes to millivolts, smooths with the
// Av_Over moving average, subtracts ZeroLevel, finds DataMin/DataMax and, with
// AutoNorm on, makes them D_min/D_max. Marks the spectrum out of date. Reads
// FileData while FileView is 1, else AccBuffer. Allocates nothing.
void ProcessRecord();

// "Set 0": measures the mean of the record without offset and keeps it as the
// new ZeroLevel. Record is left without offset until the next processing.
void SetZeroLevel();

}  // namespace korvel
