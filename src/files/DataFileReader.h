// Reading a record from an oscillogram data file (formats: DataFileFormat.h).
//
// A file is either shown whole or refused whole. Refused (result 0) are: a
// file that cannot be opened; one too short for its header; a binary file of
// unknown magic, or with a valid header but no sample; a text file without a
// data line; a record whose time step is not a positive finite number (a text
// file whose times do not increase, a single data line included, or a binary
// header's period of 0 or less); and a record with a value or a first time
// that is not a finite number. The program can neither draw, measure nor
// average such a value; dropping it would move every later sample to another
// time, and replacing it would invent data, so the user is told the file
// cannot be read instead.
//
// A text file's step is (last time stamp - first time) / sample count, in
// float; a "step P" note on the line of the last time stamp, which this
// program's writer adds, is taken instead when it agrees with the span of the
// time stamps to within what float time stamps resolve (StepNoteAgrees), so
// saved records come back exact. A note on a line of its own ends a span of
// as many steps as samples; a note on the last line examined, a sample's own
// line, ends a span of one step less.
//
// A refused file changes DataMin and DataMax (set to 0 first in every case)
// and, when a binary header of a known magic ends inside its first-time
// field, SamplePeriod, which keeps the period that did arrive. Nothing else
// changes: FileData, LoadedLength, Num_Data, TimeOffset, FileView, Conversion,
// ZeroLevel and Bipolar are written only once the record has been accepted,
// and a file of unknown magic is trusted with nothing at all.
#pragma once

#include <cstdint>

namespace korvel {

enum DataFileMode : int32_t {
    DataFileText = 1,
    DataFileBinary = 2,
    DataFileDetect = 3,  // binary when the file begins with a known magic, else text
};

// Reads the file named by DataFiles.DataFileName. True: the record is in the
// first LoadedLength elements of FileData, with LoadedLength, Num_Data =
// LoadedLength, SamplePeriod, TimeOffset, FileView = 1, the settings a binary
// body carries, and the companion settings file applied. False: refused
// (above). Any other mode is refused.
bool ReadDataFile(int32_t mode);

}  // namespace korvel
