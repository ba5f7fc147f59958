// The sample rate of a CSV file in a comment of its header, as libsigrok's
// csv output writes it for a device that knows its rate ("; Samplerate: 1
// MHz"). For a device of the program's making it writes none (it asks the
// device's driver, and such a device has none), so the program adds the
// line itself, in the same words, and reads it back; and the caption of
// the values' unit ("V"), which libsigrok 0.5.2 writes only at a loss of
// memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// Puts "; Samplerate: ..." and the caption line into text, a CSV file
// libsigrok has written without a caption, after its "; Channels" line (or
// first, without one).
void InsertCsvRateAndCaption(std::string& text, uint64_t rateHz, const std::string& caption);

// The rate a comment names, its text after the leader ("Samplerate: 44.1
// kHz"); 0 when it names none.
double CsvRateOfComment(std::string_view comment);

}  // namespace korvel
