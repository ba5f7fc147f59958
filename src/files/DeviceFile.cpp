#include "files/DeviceFile.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "files/ConfigFile.h"
#include "files/FileReplace.h"
#include "files/InputFile.h"

namespace korvel {

namespace {

// Far more than a device's line needs: a larger file is none of ours.
constexpr size_t DeviceFileLimit = 4096;

std::string Trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

}  // namespace

bool ParseRate(const std::string& text, uint64_t& hz) {
    std::string rest = Trimmed(text);
    if (rest.size() >= 2 && (rest.ends_with("Hz") || rest.ends_with("hz")))
        rest = Trimmed(rest.substr(0, rest.size() - 2));
    uint64_t scale = 1;
    if (!rest.empty()) {
        switch (rest.back()) {
            case 'k':
            case 'K':
                scale = 1000;
                break;
            case 'M':
                scale = 1000000;
                break;
            case 'G':
            case 'g':
                scale = 1000000000;
                break;
            default:
                break;
        }
        if (scale != 1) rest = Trimmed(rest.substr(0, rest.size() - 1));
    }
    if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(rest.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !(value > 0.0)) return false;
    const double rate = value * static_cast<double>(scale);
    if (rate >= 1e15 || rate != static_cast<double>(static_cast<uint64_t>(rate))) return false;
    hz = static_cast<uint64_t>(rate);
    return true;
}

std::string ShortRateText(uint64_t hz) {
    if (hz != 0 && hz % 1000000000 == 0) return std::to_string(hz / 1000000000) + "G";
    if (hz != 0 && hz % 1000000 == 0) return std::to_string(hz / 1000000) + "M";
    if (hz != 0 && hz % 1000 == 0) return std::to_string(hz / 1000) + "k";
    return std::to_string(hz);
}

bool ParseDeviceChoice(const std::string& typed, InstrumentChoice& choice, std::string& error) {
    const std::string text = Trimmed(typed);
    InstrumentChoice parsed;
    if (text.empty() || text == "simulated") {
        choice = parsed;
        return true;
    }
    size_t at = text.find(':');
    parsed.driver = text.substr(0, at);
    if (parsed.driver.empty()) {
        error = "a device is named by its driver first, as in demo or rigol-ds:conn=...";
        return false;
    }
    while (at != std::string::npos) {
        const size_t next = text.find(':', at + 1);
        const std::string option =
            text.substr(at + 1, next == std::string::npos ? next : next - at - 1);
        const size_t equals = option.find('=');
        const std::string key = option.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : option.substr(equals + 1);
        if (equals == std::string::npos || value.empty()) {
            error = "'" + option + "' is no KEY=VALUE option of a device";
            return false;
        }
        if (key == "conn") {
            parsed.connection = value;
        } else if (key == "channel") {
            parsed.channel = value;
        } else if (key == "samplerate") {
            if (!ParseRate(value, parsed.sampleRateHz)) {
                error = "samplerate takes a rate in hertz such as 1M or 250k, not '" + value + "'";
                return false;
            }
        } else {
            error = "a device takes conn, channel and samplerate, not '" + key + "'";
            return false;
        }
        at = next;
    }
    choice = parsed;
    return true;
}

std::string DeviceChoiceText(const InstrumentChoice& choice) {
    if (choice.IsSimulated()) return "simulated";
    std::string text = choice.driver;
    if (!choice.connection.empty()) text += ":conn=" + choice.connection;
    if (!choice.channel.empty()) text += ":channel=" + choice.channel;
    if (choice.sampleRateHz != 0) text += ":samplerate=" + ShortRateText(choice.sampleRateHz);
    return text;
}

std::string DeviceFilePath() {
    return std::filesystem::path(ConfigFilePath()).replace_filename("device.conf").string();
}

InstrumentChoice LoadDeviceChoice() {
    InputFile file(DeviceFilePath(), InputKinds::RegularFiles, DeviceFileLimit);
    std::string text(DeviceFileLimit, '\0');
    text.resize(file.Read(text.data(), text.size()));
    InstrumentChoice choice;
    std::string error;
    if (file.AtLimit() || !ParseDeviceChoice(text.substr(0, text.find('\n')), choice, error))
        return {};
    return choice;
}

FileStatus SaveDeviceChoice(const InstrumentChoice& choice) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(DeviceFilePath()).parent_path(),
                                        error);
    return ReplaceFileContents(DeviceFilePath(), DeviceChoiceText(choice) + "\n");
}

}  // namespace korvel
