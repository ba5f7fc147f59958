// The sample rate of a CSV file in a comment of its header, as libsigrok's
// csv output writes it for a device that knows its rate ("; Samplerate: 1
// MHz"). For a device of the program's making it writes none (it asks the
// device's driver, and such a device has none), so the program adds the
// line itself, in the same words, and reads it back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// Puts "; Samplerate: ..." into text, a CSV file libsigrok has written,
// after its "; Channels" line (or first, without one).
void InsertCsvRateComment(std::string& text, uint64_t rateHz);

// The rate a comment names, its text after the leader ("Samplerate: 44.1
// kHz"); 0 when it names none.
double CsvRateOfComment(std::string_view comment);

}  // namespace korvel
