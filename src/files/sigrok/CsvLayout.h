// What the program finds at the start of a CSV file before handing it to
// libsigrok's csv input, which reads the columns it is told to but finds
// out neither which they are nor the rate:
//   - comment lines start with ';' (libsigrok's) or, when the file's first
//     line does, '#'; "; Samplerate: 1 MHz" names the rate, "; Channels
//     (2/2): A, B" the channels (libsigrok's csv output writes both);
//   - columns part at commas, or at tabs in a file whose first line has no
//     comma;
//   - the first line that is not a comment is a header of captions when one
//     of its columns is not a number;
//   - a column captioned as time ("Time", "t", "Time (s)", "time [ms]",
//     "seconds", "microseconds" ...; seconds unless a unit says otherwise)
//     or, without a header, a first column that rises in even steps (within
//     1 %) over at least three lines and has columns beside it, is the time;
//     the rate is the count of steps over the time from the first line to
//     the last one looked at, when no comment names it;
//   - every other column that holds a number in the first line of data is
//     an analog channel, named by its caption without the unit ("CH1 (V)":
//     CH1), by the channels comment when the caption is a unit alone ("V",
//     as libsigrok's csv output captions), else CH1, CH2, ... in order;
//   - a caption's unit in brackets or alone (V, mV, uV, kV) scales the
//     column to millivolts; a column without one holds millivolts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct CsvChannel {
    size_t column = 0;  // 0-based
    std::string name;
    double scaleToMv = 1.0;
};

struct CsvLayout {
    std::string lineEnd;
    std::string separator = ",";
    std::string commentLeader = ";";
    bool header = false;
    int timeColumn = -1;  // 0-based, -1: none
    std::vector<CsvChannel> channels;
    double sampleRateHz = 0.0;  // 0: the file does not say
};

// Looks at head, the first bytes of a file (whole: all of it). False, with
// error, when they show no analog channel or no line of data.
bool ScanCsvLayout(std::string_view head, bool whole, CsvLayout& layout, std::string& error);

// libsigrok's column_formats for reading column (0-based) as the one analog
// channel and passing over those before it.
std::string CsvColumnFormats(size_t column);

}  // namespace korvel
