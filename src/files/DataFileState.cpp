#include "files/DataFileState.h"

#include <cstring>

namespace korvel {

DataFilesRecord DataFiles;

void ResetDataFiles() {
    DataFiles = DataFilesRecord{};
}

bool SetDataFileName(const char* path) {
    const size_t length = std::strlen(path);
    if (length >= DataFileNameSize) return false;
    std::memcpy(DataFiles.DataFileName, path, length + 1);
    return true;
}

}  // namespace korvel
