#include "files/sigrok/ZipDirectory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace korvel {

namespace {

constexpr size_t kEndRecordBytes = 22;
constexpr size_t kLongestComment = 65535;
constexpr size_t kEntryBytes = 46;  // a directory entry before its name

uint32_t Le(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

// The end record (at most 65535 bytes of comment follow its 22 bytes), or
// empty.
std::string EndRecord(std::ifstream& file) {
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    const std::streamoff tail = std::min<std::streamoff>(size, kEndRecordBytes + kLongestComment);
    std::string bytes(static_cast<size_t>(tail), '\0');
    file.seekg(size - tail);
    if (!file.read(bytes.data(), tail) || bytes.size() < kEndRecordBytes) return "";
    for (size_t at = bytes.size() - kEndRecordBytes + 1; at-- > 0;) {
        if (std::memcmp(bytes.data() + at, "PK\x05\x06", 4) == 0)
            return bytes.substr(at, kEndRecordBytes);
    }
    return "";
}

}  // namespace

bool HasZipEnd(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file && !EndRecord(file).empty();
}

uint64_t ZipEntryBytes(const std::string& path, const std::string& prefix) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return 0;
    const std::string end = EndRecord(file);
    if (end.empty()) return 0;
    const uint32_t size = Le(end, 12, 4);
    const uint32_t offset = Le(end, 16, 4);
    std::string directory(size, '\0');
    file.seekg(offset);
    if (!file.read(directory.data(), size)) return 0;
    uint64_t bytes = 0;
    for (size_t at = 0; at + kEntryBytes <= directory.size();) {
        if (std::memcmp(directory.data() + at, "PK\x01\x02", 4) != 0) break;
        const uint32_t unpacked = Le(directory, at + 24, 4);
        const size_t nameLength = Le(directory, at + 28, 2);
        const size_t extra = Le(directory, at + 30, 2);
        const size_t comment = Le(directory, at + 32, 2);
        if (at + kEntryBytes + nameLength > directory.size()) break;
        if (nameLength >= prefix.size() &&
            directory.compare(at + kEntryBytes, prefix.size(), prefix) == 0)
            bytes += unpacked;
        at += kEntryBytes + nameLength + extra + comment;
    }
    return bytes;
}

}  // namespace korvel
