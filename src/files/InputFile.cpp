#include "files/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace korvel {

InputFile::InputFile(const std::string& path, InputKinds kinds, size_t limit) : left_(limit) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        status_ = SystemFault(errno);
        return;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        status_ = SystemFault(errno);
    } else if (S_ISDIR(info.st_mode)) {
        status_ = {FileProblem::Folder};
    } else if (!S_ISREG(info.st_mode) &&
               !(S_ISFIFO(info.st_mode) && kinds == InputKinds::RegularFilesOrPipes)) {
        status_ = {FileProblem::NotRegularFile};
    }
    // From here on a pipe is waited for like a file: it ends when its writer
    // closes it (at once when it has none).
    if (status_.ok() && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        status_ = SystemFault(errno);
    }
    if (!status_.ok()) {
        close(fd);
        return;
    }
    fd_ = fd;
    regular_ = S_ISREG(info.st_mode);
}

InputFile::~InputFile() {
    if (fd_ >= 0) close(fd_);
}

size_t InputFile::Read(void* bytes, size_t size) {
    if (fd_ < 0) return 0;
    if (size > left_) size = left_;
    size_t got = 0;
    while (got < size) {
        const ssize_t step = read(fd_, static_cast<char*>(bytes) + got, size - got);
        if (step < 0 && errno == EINTR) continue;
        if (step < 0) status_ = SystemFault(errno);
        if (step <= 0) break;
        got += static_cast<size_t>(step);
    }
    left_ -= got;
    return got;
}

bool InputFile::AtLimit() {
    if (fd_ < 0 || left_ > 0) return false;
    char more;
    ssize_t step;
    do {
        step = read(fd_, &more, 1);
    } while (step < 0 && errno == EINTR);
    return step > 0;
}

}  // namespace korvel
