#include "files/CompanionFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/InputFile.h"
#include "model/OscSettings.h"
#include "model/SettingFields.h"
#include "model/SettingsBounds.h"

namespace korvel {

namespace {

// The record's length is the data file's own, so the file does not hold it.
bool Kept(const ConfigEntry& entry) {
    return entry.intField != &OscSettings.Num_Data;
}

constexpr size_t LineChars = 259;

void StoreValue(const ConfigEntry& entry, const char* value) {
    if (!Kept(entry)) return;
    if (IsHexadecimal(entry)) {
        unsigned int address;
        if (std::sscanf(value, "%x", &address) == 1)
            *entry.intField = static_cast<int32_t>(address);
    } else if (entry.type == ConfigValueType::Float) {
        float number;
        if (std::sscanf(value, "%g", &number) == 1) *entry.floatField = number;
    } else {
        int number;
        if (std::sscanf(value, "%d", &number) == 1) *entry.intField = number;
    }
}

// One line: each word is tried against the entries that follow the last one
// it matched, so "key = value" sets a value and anything else sets nothing.
void ApplyLine(char* line) {
    char* rest = nullptr;
    const char* word = strtok_r(line, " \t\n", &rest);
    if (word == nullptr) return;
    for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
        const ConfigEntry entry = GetConfigEntry(index);
        if (std::strncmp(word, entry.key, std::strlen(word)) != 0) continue;
        const char* next = strtok_r(nullptr, " \t\n", &rest);
        if (next == nullptr) return;
        if (std::strcmp(next, "=") != 0) {
            word = next;
            continue;
        }
        const char* value = strtok_r(nullptr, "\t\n", &rest);
        if (value == nullptr) return;
        StoreValue(entry, value);
        word = value;
    }
}

void AppendLine(std::string& text, const char* key, const char* format, auto value) {
    char line[128];
    const int length = std::snprintf(line, sizeof line, format, key, value);
    text.append(line, static_cast<size_t>(length));
}

}  // namespace

std::string CompanionPath(const char* dataFilePath) {
    const size_t length = std::strlen(dataFilePath);
    if (length < 3) return {};
    return std::string(dataFilePath, length - 3) + "cf";
}

FileStatus ReadCompanionSettings(const char* dataFilePath) {
    const std::string path = CompanionPath(dataFilePath);
    if (path.empty()) return {};
    InputFile file(path, InputKinds::RegularFiles, CompanionReadLimit);
    if (file.Status().problem == FileProblem::System) return {};  // none, or none to read
    if (!file.IsOpen()) return file.Status();
    std::string text(CompanionReadLimit, '\0');
    text.resize(file.Read(text.data(), text.size()));
    FileStatus status;
    if (file.AtLimit()) {
        // A line cut at the limit could give a setting a value nobody wrote.
        status = {FileProblem::TooLarge};
        text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    }
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        char line[LineChars + 1];
        const size_t length = std::min(end - at, LineChars);
        std::memcpy(line, text.data() + at, length);
        line[length] = '\0';
        ApplyLine(line);
        at = end + 1;
    }
    BringSettingsIntoRange();
    return status;
}

std::string CompanionText() {
    std::string text;
    for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
        const ConfigEntry entry = GetConfigEntry(index);
        if (!Kept(entry)) continue;
        if (IsHexadecimal(entry)) {
            AppendLine(text, entry.key, "%s = %x\n", static_cast<unsigned int>(*entry.intField));
        } else if (entry.type == ConfigValueType::Float) {
            AppendLine(text, entry.key, "%s = %.9g\n", static_cast<double>(*entry.floatField));
        } else {
            AppendLine(text, entry.key, "%s = %d\n", *entry.intField);
        }
    }
    return text;
}

}  // namespace korvel
