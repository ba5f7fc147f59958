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
// Each refusal is named (DataFileRead.problem), with the line or sample where
// it was found, so the user learns what is wrong with the file, not only that
// something is.
//
// The file is opened once and read front to back (a pipe has no second
// reading), only when it is a regular file, or a pipe where the command line
// allows one (DataFiles.Inputs); a folder, a device or a socket is refused
// before a byte is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/DataFileFormat.h"
#include "files/FileStatus.h"
#include "ports/Exchange.h"

namespace korvel {

enum DataFileMode : int32_t {
    DataFileText = 1,
    DataFileBinary = 2,
    // Binary when the file begins with a known magic; a sigrok session (a zip
    // archive) or a WAV file by their first bytes; a CSV file by its .csv
    // name; else text.
    DataFileDetect = 3,
    DataFileSession = 4,  // other tools' formats, through the exchange port
    DataFileCsv = 5,
    DataFileWav = 6,
};

enum class ReadProblem : int32_t {
    None,
    File,             // not opened or not read: DataFileRead.file says why
    TooShort,         // fewer bytes than a magic: no format to tell
    UnknownFormat,    // read as binary, and no known magic; or no mode at all
    TruncatedHeader,  // a binary header, or its body fields, cut short (at byte `at`)
    NoSamples,        // an empty text file, or a binary header and nothing after it
    NotANumber,       // a text file without a data line: line `at` is the first not blank
    NonFiniteValue,   // line `at` of a text file, sample `at` of a binary one
    NonFiniteTime,    // the first time: line `at` of a text file, 0 for a binary header
    NoTimeStep,       // the times do not increase, or the header's period is not positive
    Foreign,          // another tool's file that could not be read: DataFileRead.detail says why
};

struct DataFileRead {
    ReadProblem problem = ReadProblem::None;
    FileStatus file;                     // why the file could not be opened or read
    int32_t at = 0;                      // the line (from 1), sample (from 1) or byte count
    BinaryKind kind = BinaryKind::None;  // what the file was read as; None: text
    FileStatus companion;                // why the companion file was refused, if it was
    ForeignFormat foreign = ForeignFormat::None;  // another tool's format, as read
    std::vector<std::string> channels;            // its analog channels, the one read among them
    std::string channel;                          // the one read
    uint64_t totalSamples = 0;                    // its samples, of which MaxData at most were read
    std::string detail;  // why it could not be read, in the exchange's words
    explicit operator bool() const { return problem == ReadProblem::None; }
};

// Reads the file named by DataFiles.DataFileName. Accepted: the record is in the
// first LoadedLength elements of FileData, with LoadedLength, Num_Data =
// LoadedLength, SamplePeriod, TimeOffset, FileView = 1, the settings a binary
// body carries, and the companion settings file applied. Else refused (above),
// and so is any other mode. The result is kept in DataFiles.LastRead too.
DataFileRead ReadDataFile(int32_t mode);

// Why the data file at path was refused, in a few words for a message
// (russian 1 for the Russian interface); for an accepted one, what was wrong
// with its companion file, or nothing.
std::string DataFileReadText(const DataFileRead& read, const char* path, int russian);

// "The file holds N samples; the first 65534 are shown." for a file of more
// samples than a record takes; empty for any other.
std::string RecordCutText(const DataFileRead& read, int russian);

}  // namespace korvel
