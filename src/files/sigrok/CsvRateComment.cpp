#include "files/sigrok/CsvRateComment.h"

#include <glib.h>
#include <libsigrok/libsigrok.h>

#include <cmath>
#include <cstring>

namespace korvel {

void InsertCsvRateAndCaption(std::string& text, uint64_t rateHz, const std::string& caption) {
    char* rate = sr_samplerate_string(rateHz);
    const std::string line =
        std::string("; Samplerate: ") + (rate != nullptr ? rate : "") + "\n" + caption + "\n";
    g_free(rate);
    size_t at = 0;
    const size_t channels = text.find("; Channels");
    if (channels != std::string::npos) {
        const size_t end = text.find('\n', channels);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    text.insert(at, line);
}

double CsvRateOfComment(std::string_view comment) {
    while (!comment.empty() && (comment.front() == ' ' || comment.front() == '\t'))
        comment.remove_prefix(1);
    constexpr std::string_view kName = "Samplerate:";
    if (comment.substr(0, kName.size()) != kName) return 0.0;
    const std::string number(comment.substr(kName.size()));
    char* end = nullptr;
    const double value = g_ascii_strtod(number.c_str(), &end);
    if (end == number.c_str() || !std::isfinite(value) || value <= 0.0) return 0.0;
    while (*end == ' ')
        ++end;
    // libsigrok writes the rate in the largest unit that keeps it at 1 or
    // more, with every digit it needs.
    static const struct {
        char prefix;
        double factor;
    } kPrefixes[] = {{'k', 1e3}, {'M', 1e6}, {'G', 1e9}, {'T', 1e12}, {'P', 1e15}, {'E', 1e18}};
    double factor = 1.0;
    for (const auto& each : kPrefixes) {
        if (*end == each.prefix) {
            factor = each.factor;
            ++end;
            break;
        }
    }
    if (std::strncmp(end, "Hz", 2) != 0) return 0.0;
    // Its rates are whole hertz; the product of "1.234567" and a million is
    // not quite.
    return std::round(value * factor);
}

}  // namespace korvel
