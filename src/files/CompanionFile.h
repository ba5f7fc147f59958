// The companion settings file beside a data file: text lines "key = value",
// one setting each, so that a record carries the settings it was taken with.
// Its path is the data file's path with the last three characters replaced by
// "cf" (rec.ktf and rec.kbf both go with rec.cf).
#pragma once

#include <string>

#include "files/FileStatus.h"

namespace korvel {

// The companion path of a data file; empty when the path is shorter than the
// three characters to replace.
std::string CompanionPath(const char* dataFilePath);

// Applies the companion file of dataFilePath when there is one. Each line (of
// which the first 259 characters count) is walked word by word against the
// configuration entries in index order; a word stands for the first key it
// begins ("T_A" for T_Acc), and "key = value" stores the value when it
// converts: BaseAddr as hexadecimal, other integers as decimal, floats as
// "%g". Num_Data is never taken (the record's length is the data file's), and
// nothing derived is recomputed (Amplitude leaves Conversion as it is). The
// settings are then brought into range, as after loading korvel.ini.
//
// Only a regular file is read (a pipe or a device beside a data file never
// holds the program up), and at most CompanionReadLimit bytes of it: the lines
// that lie whole within them count, and the result tells of the rest
// (TooLarge). A missing file gives an ok result: most data files have none.
FileStatus ReadCompanionSettings(const char* dataFilePath);

// Room for every key on a line of the longest length that counts.
inline constexpr size_t CompanionReadLimit = 16 * 1024;

// The companion file of the settings in memory: one line "key = value" for
// every configuration entry but Num_Data, each value exact (BaseAddr "%x",
// integers "%d", floats "%.9g").
std::string CompanionText();

}  // namespace korvel
