#include "files/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>

namespace korvel {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const char* data, size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t written = offset < 0 ? write(fd, data, size) : pwrite(fd, data, size, offset);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = ENOSPC;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
        if (offset >= 0) offset += written;
    }
    return true;
}

// The file a path names once its symbolic links are followed, as far as they
// lead: a link to a file not yet made names that file.
FileStatus FollowLinks(std::string path, std::string& target) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return {};
        }
        char link[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), link, sizeof link - 1);
        if (length < 0) return SystemFault(errno);
        const std::string to(link, static_cast<size_t>(length));
        path = to[0] == '/' ? to : FolderOf(path) + "/" + to;
    }
    return SystemFault(ELOOP);
}

// A temporary file of a save that never finished: its program has ended, and
// a minute has passed, so no save of another program on another machine
// sharing the folder is still writing it. Files of the names an earlier
// release used for korvel.ini (korvel.ini.XXXXXX) count too.
bool Stale(int folder, const char* name) {
    int pid = 0;
    unsigned serial = 0;
    int end = 0;
    const bool ours = std::sscanf(name, ".korvel-%d-%u.tmp%n", &pid, &serial, &end) == 2 &&
                      name[end] == '\0' && pid > 0 && pid != getpid() && kill(pid, 0) != 0 &&
                      errno == ESRCH;
    const std::string_view text(name);
    const bool earlier = text.size() == 17 && text.starts_with("korvel.ini.");
    if (!ours && !earlier) return false;
    struct stat info {};
    return fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
           info.st_uid == geteuid() && std::time(nullptr) - info.st_mtime > 60;
}

void ClearStaleTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        if (Stale(dirfd(dir), entry->d_name)) unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

// A short name of its own in the target's folder: the rename stays within one
// file system, and a target name near the length limit leaves room for it.
int CreateNewFile(const std::string& folder, mode_t mode, std::string& name) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.korvel-" + std::to_string(getpid()) + "-" + std::to_string(serial++) +
               ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncFolder(const std::string& folder) {
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

// One file's replacement: Prepare checks the target and writes the new file
// (or, for a hard link, reserves room in the old one); Commit puts it in
// place. A replacement not committed removes its new file.
class Replacement {
  public:
    ~Replacement() {
        if (fd_ >= 0) close(fd_);
        if (!temporary_.empty()) unlink(temporary_.c_str());
    }

    FileStatus Prepare(const std::string& path, std::string_view bytes) {
        bytes_ = bytes;
        if (FileStatus followed = FollowLinks(path, target_); !followed) return followed;
        struct stat old {};
        const bool exists = lstat(target_.c_str(), &old) == 0;
        if (!exists && errno != ENOENT) return SystemFault(errno);
        if (exists) {
            if (S_ISDIR(old.st_mode)) return {FileProblem::Folder};
            if (!S_ISREG(old.st_mode)) return {FileProblem::NotRegularFile};
            if ((old.st_mode & 0222) == 0) return {FileProblem::ReadOnlyFile};
            if (access(target_.c_str(), W_OK) != 0) return SystemFault(errno);
            if (old.st_nlink > 1) return PrepareInPlace(old);
        }
        const std::string folder = FolderOf(target_);
        ClearStaleTemporaries(folder);
        // A file that is replaced: only its owner may read the new one until
        // it has the old one's bits.
        fd_ = CreateNewFile(folder, exists ? 0600 : 0666, temporary_);
        if (fd_ < 0) {
            temporary_.clear();
            return SystemFault(errno);
        }
        if (exists) {
            if (old.st_uid != geteuid() || old.st_gid != getegid())
                (void)!fchown(fd_, old.st_uid, old.st_gid);
            fchmod(fd_, old.st_mode & 0777);
        }
        if (!WriteAll(fd_, bytes.data(), bytes.size(), -1) || fsync(fd_) != 0) return Fail();
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0) return Fail();
        return {};
    }

    FileStatus Commit() {
        if (inPlace_) {
            const bool written = WriteAll(fd_, bytes_.data(), bytes_.size(), 0) &&
                                 ftruncate(fd_, static_cast<off_t>(bytes_.size())) == 0 &&
                                 fsync(fd_) == 0;
            const int error = errno;
            const bool closed = close(fd_) == 0;
            fd_ = -1;
            if (!written) return SystemFault(error);
            if (!closed) return SystemFault(errno);
            return {};
        }
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) return Fail();
        temporary_.clear();
        // Make the rename itself durable, so that a crash right after a save keeps it.
        SyncFolder(FolderOf(target_));
        return {};
    }

  private:
    FileStatus PrepareInPlace(const struct stat& old) {
        inPlace_ = true;
        fd_ = open(target_.c_str(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) return SystemFault(errno);
        struct stat now {};
        if (fstat(fd_, &now) != 0 || now.st_ino != old.st_ino || now.st_dev != old.st_dev)
            return SystemFault(EAGAIN);
        // Room for every new byte before the first old one is overwritten:
        // a full disk then stops the save with the file as it was.
        const int reserved =
            fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes_.size()));
        if (reserved != 0 && errno != EOPNOTSUPP && errno != ENOSYS) return SystemFault(errno);
        return {};
    }

    FileStatus Fail() {
        const int error = errno;
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
        if (!temporary_.empty()) unlink(temporary_.c_str());
        temporary_.clear();
        return SystemFault(error);
    }

    std::string target_;
    std::string temporary_;
    std::string_view bytes_;
    int fd_ = -1;
    bool inPlace_ = false;
};

}  // namespace

FileStatus ReplaceFileContents(const std::string& path, std::string_view bytes) {
    Replacement replacement;
    if (FileStatus prepared = replacement.Prepare(path, bytes); !prepared) return prepared;
    return replacement.Commit();
}

PairStatus ReplaceFilePair(const std::string& first, std::string_view firstBytes,
                           const std::string& second, std::string_view secondBytes) {
    Replacement one;
    Replacement two;
    if (FileStatus prepared = one.Prepare(first, firstBytes); !prepared) return {prepared, 1};
    if (FileStatus prepared = two.Prepare(second, secondBytes); !prepared) return {prepared, 2};
    if (FileStatus committed = one.Commit(); !committed) return {committed, 1};
    if (FileStatus committed = two.Commit(); !committed) return {committed, 2, true};
    return {};
}

}  // namespace korvel
