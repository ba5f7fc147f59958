// What the directory of a zip archive tells without unpacking it, for
// telling a damaged sigrok session from a file that is no session:
// libsigrok's loader only fails, and its replay of a spoilt entry only ends
// early.
#pragma once

#include <cstdint>
#include <string>

namespace korvel {

// Whether the file ends with a zip directory's end record, as a whole
// archive does and one cut short does not.
bool HasZipEnd(const std::string& path);

// The unpacked bytes of the entries whose names start with prefix, as the
// archive's directory lists them; 0 when it cannot be read.
uint64_t ZipEntryBytes(const std::string& path, const std::string& prefix);

}  // namespace korvel
