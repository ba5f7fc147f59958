// Writing a file so that a failure never costs the user the file that was
// there: the bytes go into a new file in the same folder, which then takes
// the old one's place in one rename.
//
// What is replaced is what the user meant: a symbolic link is followed and
// its target written (a korvel.ini linked from a folder of dotfiles stays
// linked); a file with more than one name (a hard link) is rewritten in
// place, after room for the new bytes has been reserved, so every name sees
// the new contents; a file the user has made read-only, a folder, and
// anything that is not a regular file (a pipe, a device) are refused, not
// replaced. A replaced file keeps its owner and its permission bits, but
// never setuid, setgid or sticky; a new one gets the user's umask.
//
// The new file is named .korvel-PID-N.tmp. Every failure removes it; one left
// behind by a program that was killed mid-save is removed by a later save
// into the same folder.
#pragma once

#include <string>
#include <string_view>

#include "files/FileStatus.h"

namespace korvel {

// Makes path hold exactly bytes. On any failure path is left as it was.
FileStatus ReplaceFileContents(const std::string& path, std::string_view bytes);

// Two files that belong together, such as a data file and its companion
// settings file: both are checked and both new files written out before
// either takes its place, so a full disk, a read-only file or a folder in the
// way of either leaves both as they were.
struct PairStatus {
    FileStatus status;
    int failed = 0;              // 0 both written, 1 the first failed, 2 the second
    bool firstReplaced = false;  // the first holds its new bytes although the second failed
};
PairStatus ReplaceFilePair(const std::string& first, std::string_view firstBytes,
                           const std::string& second, std::string_view secondBytes);

}  // namespace korvel
