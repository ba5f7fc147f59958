// korvel.ini: the settings between runs, as a flat run of 8-byte records
// (little-endian entry index, then the field's 32 bits). Not a text file.
#pragma once

#include <cstdint>
#include <string>

#include "files/FileStatus.h"

namespace korvel {

// $XDG_CONFIG_HOME/korvel/korvel.ini, or ~/.config/korvel/korvel.ini.
std::string ConfigFilePath();

// Puts the defaults into every setting, then applies every complete record of
// korvel.ini in file order (record 18, Amplitude, also sets Conversion), then
// brings the settings into range. SamplePeriod = 1 / BaseFreq before and after.
// A missing or damaged file leaves the defaults: loading never fails. At most
// ConfigReadLimit bytes are read, and only from a regular file: a korvel.ini
// that is a pipe or a device is not read at all (NotRegularFile), one larger
// than any this program writes gives the records of its first bytes
// (TooLarge); the result says so, for the user to be told. A file that is
// missing or cannot be read gives an ok result, as nothing is wrong with it.
FileStatus LoadConfig();

// 64 records: the 33 this program writes, with room for a file put together by hand.
inline constexpr size_t ConfigReadLimit = 64 * 8;

// Writes the 33 records in index order into korvel.ini as ReplaceFileContents
// replaces a file, so that a failed save leaves the old file whole; the result
// says why it failed.
FileStatus SaveConfig();

// "Save Settings": SaveConfig, and when the file could not be written (a full
// disk, a folder without write permission) the user is told so, and why. The
// settings in memory and the file as it was stay either way. Returns
// SaveConfig's result.
FileStatus SaveSettingsCommand();

// The message that a korvel.ini refused at start-up deserves, in the
// interface's language; empty for an ok status.
std::string ConfigLoadMessage(const FileStatus& status, int russian);

}  // namespace korvel
