#include "files/ConfigFile.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "files/FileReplace.h"
#include "files/InputFile.h"
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

}  // namespace

std::string ConfigFilePath() {
    return ConfigDirectory() + "/korvel.ini";
}

FileStatus LoadConfig() {
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

    InputFile file(ConfigFilePath(), InputKinds::RegularFiles, ConfigReadLimit);
    FileStatus status = file.Status();
    if (status.problem == FileProblem::System) status = {};  // missing or unreadable: the defaults
    unsigned char records[ConfigReadLimit];
    const size_t got = file.Read(records, sizeof records);
    for (size_t at = 0; at + 8 <= got; at += 8) {
        ApplyRecord(ReadLe32(records + at), ReadLe32(records + at + 4));
    }
    if (file.AtLimit()) status = {FileProblem::TooLarge};
    BringSettingsIntoRange();
    OscState.SamplePeriod = static_cast<float>(1.0 / OscSettings.BaseFreq);
    return status;
}

FileStatus SaveConfig() {
    unsigned char bytes[8 * ConfigEntryCount];
    for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
        const ConfigEntry entry = GetConfigEntry(index);
        uint32_t bits;
        std::memcpy(&bits, entry.field(), sizeof bits);
        WriteLe32(bytes + 8 * (index - 1), static_cast<uint32_t>(index));
        WriteLe32(bytes + 8 * (index - 1) + 4, bits);
    }
    std::error_code error;
    std::filesystem::create_directories(ConfigDirectory(), error);
    return ReplaceFileContents(ConfigFilePath(),
                               {reinterpret_cast<const char*>(bytes), sizeof bytes});
}

FileStatus SaveSettingsCommand() {
    const FileStatus result = SaveConfig();
    if (!result) {
        const std::string message = std::string(Text(TextId::SaveConfigError)) + "\n\n" +
                                    ConfigFilePath() + ": " +
                                    FileStatusText(result, OscState.Russian);
        Ports.dialogs->Message(message.c_str(), nullptr);
    }
    return result;
}

std::string ConfigLoadMessage(const FileStatus& status, int russian) {
    if (status.ok()) return {};
    char text[4096 + 256];
    std::snprintf(text, sizeof text,
                  TextIn(status.problem == FileProblem::TooLarge ? TextId::ConfigTooLarge
                                                                 : TextId::ConfigNotRead,
                         russian),
                  ConfigFilePath().c_str(), FileStatusText(status, russian).c_str());
    return text;
}

}  // namespace korvel
