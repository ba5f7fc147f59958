#include "cli/CliArguments.h"

#include "model/FieldNumbers.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace korvel::cli {

namespace {

bool OnlyBlanks(const char* text) {
    while (*text != '\0' && std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    return *text == '\0';
}

}  // namespace

void UsageError(const std::string& message) {
    throw CliError{ExitUsage, message};
}

void Failure(const std::string& message) {
    throw CliError{ExitFailed, message};
}

bool Arguments::Next(std::string& word) {
    hasInlineValue_ = false;
    if (next_ >= words_.size()) return false;
    word = words_[next_++];
    if (!optionsEnded_ && word == "--") {
        optionsEnded_ = true;
        return Next(word);
    }
    if (!optionsEnded_ && word.size() > 2 && word.compare(0, 2, "--") == 0) {
        const size_t equals = word.find('=');
        if (equals != std::string::npos) {
            inlineValue_ = word.substr(equals + 1);
            hasInlineValue_ = true;
            word.resize(equals);
        }
    }
    return true;
}

std::string Arguments::Value(const std::string& option) {
    if (hasInlineValue_) {
        hasInlineValue_ = false;
        return inlineValue_;
    }
    if (next_ >= words_.size()) UsageError("option " + option + " needs a value");
    return words_[next_++];
}

void Arguments::NoValue(const std::string& option) {
    if (hasInlineValue_) UsageError("option " + option + " takes no value");
}

int32_t ParseCount(const std::string& option, const std::string& text, int32_t lo, int32_t hi) {
    const ScannedInt scanned = ScanLeadingInt(text.c_str());
    const std::string range = std::to_string(lo) + " to " + std::to_string(hi);
    if (!scanned.found || !OnlyBlanks(scanned.end)) {
        UsageError(option + " takes a whole number from " + range + ", not '" + text + "'");
    }
    if (!scanned.inRange || scanned.value < lo || scanned.value > hi) {
        UsageError(option + " takes a whole number from " + range + "; " + text +
                   " is out of range");
    }
    return scanned.value;
}

double ParseNumber(const std::string& option, const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start || !OnlyBlanks(end) || !std::isfinite(value)) {
        UsageError(option + " takes a number, not '" + text + "'");
    }
    return value;
}

std::string ParseNumberText(const std::string& option, const std::string& text) {
    ParseNumber(option, text);
    return text;
}

PictureSize ParseSize(const std::string& option, const std::string& text) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        UsageError(option + " takes a size WIDTHxHEIGHT in pixels, not '" + text + "'");
    }
    return {ParseCount(option + " (width)", text.substr(0, x), 1, MaxPictureSide),
            ParseCount(option + " (height)", text.substr(x + 1), 1, MaxPictureSide)};
}

std::string Extension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace korvel::cli
