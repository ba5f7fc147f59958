// Writing a file so that a failure never costs the user the file that was
// there: the bytes go into a new file in the same folder, which then takes
// the old one's place in one rename.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

// Makes path hold exactly bytes. On any failure path is left as it was and
// the new file is removed. A file that is replaced keeps its permissions; a
// new one gets the usual permissions for the user's umask.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace korvel
