// What became of an attempt to read or write a file: done, or why not. The
// program's own refusals (a folder, a pipe or device, a read-only file, a
// file too large for its format) are told apart from the system's errors,
// which keep their errno so the user learns the real cause (no space left,
// permission denied, a read-only file system).
#pragma once

#include <string>

namespace korvel {

enum class FileProblem {
    None,
    System,          // the system refused; error holds errno
    Folder,          // the name is a folder
    NotRegularFile,  // a pipe, a device or a socket: never read or replaced
    ReadOnlyFile,    // a file the user has made read-only: never replaced
    TooLarge,        // larger than its format can be
};

struct FileStatus {
    FileProblem problem = FileProblem::None;
    int error = 0;

    bool ok() const { return problem == FileProblem::None; }
    explicit operator bool() const { return ok(); }
};

inline FileStatus SystemFault(int error) {
    return {FileProblem::System, error};
}

// Why, in a few words for a message ("No space left on device", "it is a
// folder"); russian 1 for the Russian interface. Empty when status is ok.
std::string FileStatusText(const FileStatus& status, int russian);

}  // namespace korvel
