// config: the saved settings (korvel.ini) shown or changed from the command
// line, key by key, with the key texts and number forms of the companion
// settings file.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "files/ConfigFile.h"
#include "model/FieldNumbers.h"
#include "model/OscSettings.h"
#include "model/SettingFields.h"
#include "model/SettingsBounds.h"

namespace korvel::cli {

namespace {

constexpr const char* ConfigHelp =
    "Usage: korvel-cli config [KEY[=VALUE] ...]\n"
    "       korvel-cli config --path\n"
    "\n"
    "Without arguments, lists the saved settings (korvel.ini), one \"KEY = VALUE\"\n"
    "line each. KEY alone shows one setting; KEY=VALUE changes it. A key may be\n"
    "shortened to its beginning (T_A for T_Acc); the first key in the file's order\n"
    "that begins so is meant. Values are written as in a companion settings file:\n"
    "BaseAddr hexadecimal, whole numbers decimal, the others any decimal number.\n"
    "Num_Data, the record length, is not taken (as in a companion file); set it\n"
    "with the Window length slider of the Settings dialog.\n"
    "Changed settings are brought into the range the program works in (the\n"
    "change is reported when that alters a value) and saved at once.\n"
    "--path prints where korvel.ini lives.\n";

std::string ValueText(const ConfigEntry& entry) {
    char text[64];
    if (IsHexadecimal(entry)) {
        std::snprintf(text, sizeof text, "%x", static_cast<unsigned int>(*entry.intField));
    } else if (entry.type == ConfigValueType::Float) {
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(*entry.floatField));
    } else {
        std::snprintf(text, sizeof text, "%d", *entry.intField);
    }
    return text;
}

std::string EntryLine(const ConfigEntry& entry) {
    return std::string(entry.key) + " = " + ValueText(entry) + "\n";
}

// The first entry whose key begins with word, as a companion file matches keys.
ConfigEntry FindEntry(const std::string& word) {
    if (!word.empty()) {
        for (int32_t index = 1; index <= ConfigEntryCount; ++index) {
            const ConfigEntry entry = GetConfigEntry(index);
            if (std::strncmp(word.c_str(), entry.key, word.size()) == 0) return entry;
        }
    }
    UsageError("no setting is called '" + word + "' ('korvel-cli config' lists them)");
}

bool OnlyBlanks(const char* text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    return *text == '\0';
}

// The value as the companion file converts it, the whole text being the number.
void StoreValue(const ConfigEntry& entry, const std::string& value) {
    const char* start = value.c_str();
    char* end = nullptr;
    errno = 0;
    const std::string key = entry.key;
    if (entry.type == ConfigValueType::Float) {
        const float number = std::strtof(start, &end);
        if (end == start || !OnlyBlanks(end) || !std::isfinite(number)) {
            UsageError(key + " takes a number, not '" + value + "'");
        }
        // Numbers below the normal floats (1e-40) are kept as the float
        // nearest them, as the window keeps them; one too small for any
        // float but 0 would silently become another number.
        if (errno == ERANGE && number == 0.0f) {
            UsageError(key + " = " + value + " is too small for the setting to hold; give 0 for 0");
        }
        *entry.floatField = number;
        return;
    }
    const bool hex = IsHexadecimal(entry);
    const ScannedInt number = ScanLeadingInt(start, hex ? 16 : 10);
    if (!number.found || !OnlyBlanks(number.end)) {
        UsageError(key + (hex ? " takes a hexadecimal number" : " takes a whole number") +
                   ", not '" + value + "'");
    }
    if (!number.inRange || (hex && number.value < 0)) {
        UsageError(key + " = " + value + " is beyond what the setting can hold");
    }
    *entry.intField = number.value;
}

// A key of the command line, and the value typed for it ("" to show it).
struct Change {
    ConfigEntry entry;
    std::string typed;
};

}  // namespace

int RunConfig(Arguments& args) {
    std::vector<std::string> words;
    bool path = false;
    std::string word;
    while (args.Next(word)) {
        if (!args.IsOption(word)) {
            words.push_back(word);
        } else if (word == "--help") {
            WriteOut(ConfigHelp);
            return 0;
        } else if (word == "--path") {
            args.NoValue(word);
            path = true;
        } else {
            UsageError("unknown option '" + word + "'");
        }
    }
    if (path) {
        if (!words.empty()) UsageError("--path takes no keys");
        WriteOut(ConfigFilePath() + "\n");
        return 0;
    }

    WarnOfConfig(StartUp());
    if (words.empty()) {
        std::string out;
        for (int32_t index = 1; index <= ConfigEntryCount; ++index)
            out += EntryLine(GetConfigEntry(index));
        WriteOut(out);
        return 0;
    }

    // Every word is checked before anything is stored, so a bad one changes nothing.
    std::vector<Change> asked;
    bool changing = false;
    for (const std::string& w : words) {
        const size_t equals = w.find('=');
        const ConfigEntry entry = FindEntry(w.substr(0, equals));
        if (equals == std::string::npos) {
            asked.push_back({entry, ""});
            continue;
        }
        if (entry.intField == &OscSettings.Num_Data) {
            UsageError(
                "Num_Data, the record length, is not set here, as in a companion file; "
                "use the Window length slider of the Settings dialog");
        }
        const std::string value = w.substr(equals + 1);
        if (value.empty()) UsageError(std::string(entry.key) + " = what? Give a value");
        StoreValue(entry, value);
        asked.push_back({entry, value});
        changing = true;
    }

    if (changing) {
        std::vector<std::string> stored;
        for (const Change& c : asked)
            stored.push_back(ValueText(c.entry));
        BringSettingsIntoRange();
        for (size_t i = 0; i < asked.size(); ++i) {
            const Change& c = asked[i];
            if (c.typed.empty()) continue;
            const std::string kept = ValueText(c.entry);
            if (kept != stored[i]) {
                std::fprintf(stderr, "korvel-cli config: %s = %s is out of range; %s is kept\n",
                             c.entry.key, c.typed.c_str(), kept.c_str());
            }
            if (c.entry.floatField == &OscSettings.Conversion) {
                std::fprintf(stderr,
                             "korvel-cli config: note: Conversion is made again from Amplitude "
                             "(Amplitude / 256) whenever the settings are loaded\n");
            }
        }
        if (const FileStatus saved = SaveConfig(); !saved)
            Failure("cannot write " + ConfigFilePath() + ": " + FileStatusText(saved, 0));
    }
    std::string out;
    for (const Change& c : asked)
        out += EntryLine(c.entry);
    WriteOut(out);
    return 0;
}

}  // namespace korvel::cli
