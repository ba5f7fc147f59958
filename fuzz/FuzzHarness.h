// What every fuzz target shares: a private folder on a memory file system for
// the files the readers are given, the program's records reset before each
// input, the checks of what a reader must leave behind, and the road a read
// file takes from there (processing, layout, drawing), so a hostile value has
// to survive everything that uses it, not only the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel::fuzz {

// Every record as at program start, the fixed-cell text engine installed and
// a small plot canvas. Called before each input.
void ResetProgram();

// The private folder, made once per process (under /dev/shm when it exists).
const std::string& Folder();

// Writes bytes into Folder()/name and returns the path.
std::string WriteInput(const char* name, const uint8_t* data, size_t size);

// Stops the process with a message when a condition fails: libFuzzer then
// keeps the input that caused it.
void Require(bool condition, const char* what);

// Every setting lies within the bounds the rest of the program relies on.
void RequireSettingsInRange();

// A record that a reader accepted: 1..MaxData samples, all finite, Num_Data =
// LoadedLength, a positive finite step and a finite first time, FileView 1.
void RequireAcceptedRecord();

// Shows the record (FileData while FileView is 1, else AccBuffer) as the
// Open command does: fonts from the settings, processing, the vertical range
// from the new data, a full redraw; then RequireDrawing.
void ShowRecord();

// Moves the sub-window as typed fields or the mouse do; then RequireDrawing.
void MoveSubWindow(int32_t start, int32_t end);

// After a drawing: the sub-window lies inside the record, Data_S <= Data_E <
// Num_Data; the ranges are finite; a record processed from finite values
// holds finite values only.
void RequireDrawing();

}  // namespace korvel::fuzz
