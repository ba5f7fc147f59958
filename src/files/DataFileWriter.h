// Writing the shown record, or a stretch of it, to an oscillogram data file
// and its companion settings file, so that reading the pair back gives the
// same samples, the same times and the same settings.
//
// Text files hold one line "time value" per sample, both in "%.9g", which
// any float survives exactly; every line carries its own sample's time, since
// other tools read these files too. The reader takes the time step as (last
// time stamp - first time) / sample count, so after the samples comes one
// more line, "t step P": t is the time stamp one step past the last sample
// that gives the step back through that division as closely as float
// arithmetic allows (exactly for most lengths), and P is the step itself,
// which this program's reader takes when it agrees with the division
// (DataFileFormat.h), so the step comes back bit for bit. A record of MaxData
// samples leaves no line for it (the reader examines MaxData lines): there the
// last sample's line carries the note, "t_last value step P", and the reader
// checks P against (t_last - first time) / (count - 1) instead. Binary files
// are written as floats ("KFRF"), so no value is rounded to a code.
#pragma once

#include <cstdint>
#include <string>

#include "files/FileStatus.h"

namespace korvel {

enum DataFileSaveFormat : int32_t {
    SaveText = 1,     // *.ktf
    SaveBinary = 2,   // *.kbf, floats
    SaveSession = 3,  // other tools' formats through the exchange port: *.sr,
    SaveCsv = 4,      // *.csv,
    SaveWav = 5,      // *.wav; one channel at the record's rate, no companion file
};

enum DataFileWriteResult : int32_t {
    DataFileWritten = 0,      // the data file and its companion file
    DataFileNotWritten = 1,   // nothing on disk changed
    CompanionNotWritten = 2,  // the data file is written, its companion file kept what it held
};

struct DataFileWrite {
    DataFileWriteResult result = DataFileNotWritten;
    FileStatus status;       // why a file was not written
    std::string failedPath;  // which: the data file or its companion file
    std::string detail;      // why another tool's format could not be made
};

// Writes samples first..last (inclusive) of Record to path, sample k at time
// TimeOffset + (first + k) * SamplePeriod, and its companion settings file,
// as a pair (ReplaceFilePair): a data file never lands beside a companion
// file it does not belong with, short of a failure between the two renames,
// which the result names (CompanionNotWritten). The range is cut to the
// record (0..Num_Data - 1); an empty range or an unknown format writes nothing.
// Another tool's format is one file, made by the exchange port (its samples
// and rate; the first time is not kept); status says why it could not be.
DataFileWrite WriteDataFile(const char* path, int32_t format, int32_t first, int32_t last);

// Save: the whole record shown, samples 0..Num_Data - 1.
DataFileWrite WriteRecordFile(const char* path, int32_t format);

// Win-save: the samples of the sub-window, Data_S..Data_E inclusive.
DataFileWrite WriteWindowFile(const char* path, int32_t format);

// The time stamp t for which PeriodOfSpan(t, firstTimeUs, count) is periodUs;
// when float arithmetic has no such t (the first time much larger than the
// span), the t that gives the nearest step.
float SpanEndTime(float firstTimeUs, float periodUs, int32_t count);

}  // namespace korvel
