// The line of a CSV file that libsigrok's csv input refused. The module
// says only that it failed (its own words go to its log), so the program
// finds the line again by the module's rules.
#pragma once

#include <cstddef>
#include <string>

#include "files/sigrok/CsvLayout.h"

namespace korvel {

// The first line of the file at path that the module cannot read with
// layout and column (0-based) as its analog channel, in a few words:
// "column 2 is not a number on line 7", "line 7 has no column 2". Empty
// when every line looked at is fine; lines longer than longestLine bytes
// end the search.
std::string FindCsvFault(const std::string& path, const CsvLayout& layout, size_t column,
                         size_t longestLine);

}  // namespace korvel
