#include "files/FileStatus.h"

#include <cerrno>
#include <cstring>

#include "model/Texts.h"

namespace korvel {

namespace {

// The system's reasons a user meets most while saving, in the words of the
// interface; any other one is told in the system's own words.
TextId SystemText(int error, bool& known) {
    known = true;
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return TextId::FileNoSpace;
        case EACCES:
        case EPERM:
            return TextId::FilePermissionDenied;
        case EROFS:
            return TextId::FileReadOnlySystem;
        case ENOENT:
        case ENOTDIR:
            return TextId::FileMissing;
        default:
            known = false;
            return TextId::FileMissing;
    }
}

}  // namespace

std::string FileStatusText(const FileStatus& status, int russian) {
    switch (status.problem) {
        case FileProblem::None:
            return {};
        case FileProblem::Folder:
            return TextIn(TextId::FileIsFolder, russian);
        case FileProblem::NotRegularFile:
            return TextIn(TextId::FileNotRegular, russian);
        case FileProblem::ReadOnlyFile:
            return TextIn(TextId::FileReadOnly, russian);
        case FileProblem::TooLarge:
            return TextIn(TextId::FileTooLarge, russian);
        case FileProblem::System:
            break;
    }
    bool known = false;
    const TextId text = SystemText(status.error, known);
    // English keeps the system's own wording, which is what a search finds.
    if (known && russian == 1) return TextIn(text, russian);
    return std::strerror(status.error);
}

}  // namespace korvel
