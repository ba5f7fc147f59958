#include "files/CompanionFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/FileReplace.h"
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

// The next line's first LineChars characters into line; false at the end.
bool NextLine(std::FILE* file, char (&line)[LineChars + 1]) {
    size_t length = 0;
    int c = getc_unlocked(file);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = getc_unlocked(file)) {
        if (length < LineChars) line[length++] = static_cast<char>(c);
    }
    line[length] = '\0';
    return true;
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

void ReadCompanionSettings(const char* dataFilePath) {
    const std::string path = CompanionPath(dataFilePath);
    if (path.empty()) return;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return;
    char line[LineChars + 1];
    while (NextLine(file, line)) {
        ApplyLine(line);
    }
    std::fclose(file);
    BringSettingsIntoRange();
}

bool WriteCompanionSettings(const char* dataFilePath) {
    const std::string path = CompanionPath(dataFilePath);
    if (path.empty()) return false;
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
    return ReplaceFileContents(path, text);
}

}  // namespace korvel
