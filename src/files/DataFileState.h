// What the data-file commands remember for the run: the file last chosen and
// the filter last selected in each file dialog. Never saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/DataFileReader.h"
#include "files/InputFile.h"

namespace korvel {

// The file dialogs hand over at most this many bytes, terminator included.
inline constexpr size_t DataFileNameSize = 256;

struct DataFilesRecord {
    char DataFileName[DataFileNameSize]{};  // full path of the last data file chosen
    int32_t OpenFilterIndex = 1;            // 1 text, 2 binary, 3 all files (detect)
    int32_t SaveFilterIndex = 1;            // 1 text, 2 binary
    // What a data file may be: the window reads regular files only, the
    // command line takes a pipe too (a script's standard input).
    InputKinds Inputs = InputKinds::RegularFiles;
    DataFileRead LastRead;  // how the last data file read went, and why
    // The analog channel to read from another tool's file with several; ""
    // for its first. The window asks the user (AskChannel); the command line
    // takes --channel.
    std::string ForeignChannel;
    bool AskChannel = true;
};

extern DataFilesRecord DataFiles;

// Empty name, both filters back to the first.
void ResetDataFiles();

// Stores path in DataFileName. A path that does not fit (255 bytes or more
// before the terminator) is not stored, since a cut path names another file:
// false, and DataFileName keeps what it held.
bool SetDataFileName(const char* path);

}  // namespace korvel
