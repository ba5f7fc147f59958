#include "files/ConfigFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/SettingFields.h"
#include "model/SettingsBounds.h"
#include "model/Texts.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

int32_t ReadLe32(const unsigned char* bytes) {
    const uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                           static_cast<uint32_t>(bytes[2]) << 16 |
                           static_cast<uint32_t>(bytes[3]) << 24;
    int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

void WriteLe32(unsigned char* bytes, uint32_t value) {
    for (int k = 0; k < 4; ++k)
        bytes[k] = static_cast<unsigned char>(value >> (8 * k));
}

std::string ConfigDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // Relative paths in XDG_CONFIG_HOME are invalid and are to be ignored.
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/korvel";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config/korvel";
}

void ApplyRecord(int32_t index, int32_t bits) {
    const ConfigEntry entry = GetConfigEntry(index);
    if (entry.index == 0) return;
    std::memcpy(entry.field(), &bits, sizeof bits);
    if (entry.floatField == &OscSettings.Amplitude) {
        OscSettings.Conversion = static_cast<float>(OscSettings.Amplitude * 0.00390625);
    }
}

bool WriteAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written <= 0) return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

std::string ConfigFilePath() {
    return ConfigDirectory() + "/korvel.ini";
}

void LoadConfig() {
    // The base clock and the dividers keep the values they hold; at start those
    // are the defaults.
    const float baseFreq = OscSettings.BaseFreq;
    int32_t dividers[4];
    std::memcpy(dividers, OscSettings.FreqDiv, sizeof dividers);
    ResetOscSettings();
    OscSettings.BaseFreq = baseFreq;
    std::memcpy(OscSettings.FreqDiv, dividers, sizeof dividers);
    OscState.LoadedLength = MaxData;
    OscState.SamplePeriod = static_cast<float>(1.0 / OscSettings.BaseFreq);

    std::FILE* file = std::fopen(ConfigFilePath().c_str(), "rb");
    if (file != nullptr) {
        unsigned char record[8];
        while (std::fread(record, 1, sizeof record, file) == sizeof record) {
            ApplyRecord(ReadLe32(record), ReadLe32(record + 4));
        }
        std::fclose(file);
    }
    BringSettingsIntoRange();
    OscState.SamplePeriod = static_cast<float>(1.0 / OscSettings.BaseFreq);
}

ConfigSave SaveConfig() {
    unsigned char bytes[8 * ConfigEntryCount];
    for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
        const ConfigEntry entry = GetConfigEntry(index);
        uint32_t bits;
        std::memcpy(&bits, entry.field(), sizeof bits);
        WriteLe32(bytes + 8 * (index - 1), static_cast<uint32_t>(index));
        WriteLe32(bytes + 8 * (index - 1) + 4, bits);
    }

    const std::string directory = ConfigDirectory();
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    const std::string path = directory + "/korvel.ini";
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return ConfigSave::Failed;
    fchmod(fd, 0644);
    const bool written = WriteAll(fd, bytes, sizeof bytes) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return ConfigSave::Failed;
    }
    // A crash before this point leaves the old korvel.ini as it was (and at
    // most a stray korvel.ini.XXXXXX beside it, which nothing reads); after
    // it, the new one whole. Make the rename itself durable, so that a crash right after a save
    // keeps it.
    const int dir = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return ConfigSave::Written;
}

ConfigSave SaveSettingsCommand() {
    const ConfigSave result = SaveConfig();
    if (result != ConfigSave::Written)
        Ports.dialogs->Message(Text(TextId::SaveConfigError), nullptr);
    return result;
}

}  // namespace korvel
