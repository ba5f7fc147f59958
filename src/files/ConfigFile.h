// korvel.ini: the settings between runs, as a flat run of 8-byte records
// (little-endian entry index, then the field's 32 bits). Not a text file.
#pragma once

#include <cstdint>
#include <string>

namespace korvel {

// $XDG_CONFIG_HOME/korvel/korvel.ini, or ~/.config/korvel/korvel.ini.
std::string ConfigFilePath();

// Puts the defaults into every setting, then applies every complete record of
// korvel.ini in file order (record 18, Amplitude, also sets Conversion), then
// brings the settings into range. SamplePeriod = 1 / BaseFreq before and after.
// A missing or damaged file leaves the defaults: loading never fails.
void LoadConfig();

enum class ConfigSave : int32_t { Written, Failed };

// Writes the 33 records in index order into a new file beside korvel.ini and
// renames it into place, so that a failed save leaves the old file whole.
ConfigSave SaveConfig();

// "Save Settings": SaveConfig, and when the file could not be written (a full
// disk, a folder without write permission) the user is told so. The settings
// in memory and the file as it was stay either way. Returns SaveConfig's result.
ConfigSave SaveSettingsCommand();

}  // namespace korvel
