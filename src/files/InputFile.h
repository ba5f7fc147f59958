// A file opened once for reading, front to back. It is opened without
// waiting (a pipe nobody writes to would otherwise stop the program at the
// open) and checked on the descriptor it got, not by its name beforehand, so
// what is checked is what is read. Folders, devices and sockets are never
// read: /dev/zero or a terminal would never end.
#pragma once

#include <cstddef>
#include <string>

#include "files/FileStatus.h"

namespace korvel {

enum class InputKinds {
    RegularFiles,         // the window's files, korvel.ini and companion files
    RegularFilesOrPipes,  // a command line's data file, which a script may pipe in
};

class InputFile {
  public:
    // Opens path; Status() tells why not. At most limit bytes are ever read,
    // so no file, however large or endless, holds the program up longer than
    // its format needs; AtLimit() tells whether more was there.
    InputFile(const std::string& path, InputKinds kinds, size_t limit);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool IsRegular() const { return regular_; }
    int Descriptor() const { return fd_; }
    const FileStatus& Status() const { return status_; }

    // Reads until size bytes have arrived, the file ends or the limit is
    // reached; returns the count. A read error ends the file too and is kept
    // in Status().
    size_t Read(void* bytes, size_t size);
    // The limit was reached with more bytes to come.
    bool AtLimit();

  private:
    int fd_ = -1;
    FileStatus status_;
    size_t left_ = 0;  // bytes that may still be read
    bool regular_ = false;
};

}  // namespace korvel
