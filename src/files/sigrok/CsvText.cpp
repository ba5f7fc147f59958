#include "files/sigrok/CsvText.h"

#include <glib.h>

#include <cerrno>

namespace korvel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Stripped(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string CsvLineEnd(std::string_view text) {
    if (text.find("\r\n") != std::string_view::npos) return "\r\n";
    if (text.find('\n') != std::string_view::npos) return "\n";
    if (text.find('\r') != std::string_view::npos) return "\r";
    return "";
}

std::string WithoutCsvComment(std::string_view line, std::string_view leader) {
    if (leader.empty()) return std::string(line);
    const size_t at = line.find(leader);
    if (at == std::string_view::npos) return std::string(line);
    return std::string(Stripped(line.substr(0, at)));
}

std::vector<std::string> CsvColumns(std::string_view line, std::string_view separator) {
    std::vector<std::string> columns;
    if (separator.empty()) {
        columns.emplace_back(line);
        return columns;
    }
    size_t from = 0;
    for (;;) {
        const size_t at = line.find(separator, from);
        if (at == std::string_view::npos) break;
        columns.emplace_back(line.substr(from, at - from));
        from = at + separator.size();
    }
    columns.emplace_back(line.substr(from));
    return columns;
}

// The module parses with GLib's locale-independent strtod and refuses what
// it leaves over or what is out of range; this takes the same call.
bool IsCsvNumber(const std::string& text, double& value) {
    char* end = nullptr;
    errno = 0;
    const double parsed = g_ascii_strtod(text.c_str(), &end);
    if (end == nullptr || *end != '\0' || end == text.c_str() || errno != 0) return false;
    value = parsed;
    return true;
}

std::string CsvCaption(std::string_view text) {
    text = Stripped(text);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text.remove_prefix(1);
        text.remove_suffix(1);
    }
    return std::string(text);
}

}  // namespace korvel
