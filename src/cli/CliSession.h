// The program's own start and its own commands, run without a window: the
// settings of korvel.ini, the main window's bars filled from them, the first
// drawing of the plot, then a data file opened, a capture made or a field
// typed into exactly as the window does them. Only the pixels stay in memory.
#pragma once

#include <cstdint>
#include <string>

#include "cli/CliArguments.h"
#include "files/FileStatus.h"
#include "ports/Instrument.h"

namespace korvel::cli {

// Starts as the program does, with the plot canvas of width x height pixels
// (0 x 0 when no picture is wanted: the drawing state moves on all the same).
// The fonts are made with the text engine installed beforehand, if any.
void BeginSession(int32_t width, int32_t height);

// Reads a data file into FileData with its time step and first time, as the
// Open command's reading step does, without showing it. A file that cannot be
// read fails with a message that says why. "-" is the standard input; a pipe
// is read once, as it comes.
void ReadRecord(const std::string& path);

// The main window's Open command, its dialog answered with path and "All
// files": the file is read (its format found from its first bytes), the bars
// take the settings of its companion file, and the record is processed and
// drawn, keeping the file's own times.
void OpenRecord(const std::string& path);

// Writes the shown record to out (and its companion file) or ends the
// command with the reason.
void WriteRecordOrFail(const std::string& out, int32_t format);

// A korvel.ini that start-up refused (a pipe, a device, a file too large),
// told on the standard error; the command goes on with the defaults.
void WarnOfConfig(const FileStatus& loaded);

// Ends the command when out names the very file in is (a link or another
// path to it included): writing it would replace the data being read.
void RefuseOverwritingInput(const std::string& in, const std::string& out);

// Makes the instrument chosen the source, as the Device dialog does, or ends
// the command with the reason it cannot be used.
void UseDevice(const InstrumentChoice& choice);

// Lets an instrument's capture under way run to its end, polling it as the
// window's timer does; a capture that ends without a record ends the command
// with the reason.
void AwaitInstrumentRecord();

// The words every command that reads one data file shares: the file's name
// (one only) and --channel, the analog channel of another tool's file.
// True when word was one of them (and is taken).
bool TakeDataFileWord(Arguments& args, const std::string& word, std::string& file);

// Types text into a field of the lower (or upper) bar, as a user would.
void TypeIntoBottomBar(int32_t id, const std::string& text);
void TypeIntoTopBar(int32_t id, const std::string& text);

// The plot's sub-window as the Min and Width fields give it, in microseconds;
// an empty text leaves that field as the window shows it.
void TypeSubWindow(const std::string& fromUs, const std::string& widthUs);

// The spectrum window opened on the plot's sub-window and painted into
// SpectrumCanvas (sized beforehand, 0 x 0 for no picture) with bars of no
// height, whose border rows are the canvas's first and last; then its Min and
// Width fields typed into (kHz; an empty text leaves the field as the window
// writes it).
void ShowSpectrumWindow(const std::string& minKHz, const std::string& widthKHz);

}  // namespace korvel::cli
