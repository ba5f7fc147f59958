#include "files/sigrok/CsvLayout.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "files/sigrok/CsvRateComment.h"
#include "files/sigrok/CsvText.h"

namespace korvel {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// A caption as name and unit: "CH1 (V)", "CH1 [V]" and "CH1/V" have one;
// "V" and "V DC" are a unit alone (libsigrok's csv output captions a
// column by its unit and its flags).
struct Caption {
    std::string name;
    std::string unit;
};

double VoltScale(std::string_view unit) {
    if (unit == "V") return 1000.0;
    if (unit == "mV") return 1.0;
    if (unit == "uV" || unit == "\xC2\xB5V") return 0.001;
    if (unit == "kV") return 1e6;
    return 0.0;
}

double TimeScale(std::string_view unit) {
    const std::string lower = Lower(unit);
    if (lower == "s" || lower == "sec" || lower == "seconds") return 1.0;
    if (lower == "ms" || lower == "milliseconds") return 1e-3;
    if (lower == "us" || lower == "\xC2\xB5s" || lower == "microseconds") return 1e-6;
    if (lower == "ns" || lower == "nanoseconds") return 1e-9;
    if (lower == "ps" || lower == "picoseconds") return 1e-12;
    return 0.0;
}

Caption SplitCaption(std::string_view text) {
    text = Trimmed(text);
    const std::string_view first = text.substr(0, text.find(' '));
    if (VoltScale(first) != 0.0) {
        const std::string_view rest = Trimmed(text.substr(first.size()));
        if (rest.empty() || rest == "DC" || rest == "AC" || rest == "RMS")
            return {"", std::string(first)};
    }
    if (!text.empty() && (text.back() == ')' || text.back() == ']')) {
        const char open = text.back() == ')' ? '(' : '[';
        const size_t at = text.rfind(open);
        if (at != std::string_view::npos) {
            return {std::string(Trimmed(text.substr(0, at))),
                    std::string(Trimmed(text.substr(at + 1, text.size() - at - 2)))};
        }
    }
    const size_t slash = text.rfind('/');
    if (slash != std::string_view::npos && slash > 0) {
        const std::string_view unit = Trimmed(text.substr(slash + 1));
        if (VoltScale(unit) != 0.0 || TimeScale(unit) != 0.0)
            return {std::string(Trimmed(text.substr(0, slash))), std::string(unit)};
    }
    return {std::string(text), ""};
}

// The seconds one unit of a time column is; 0 for a column that is not the
// time. "samples" (libsigrok's caption of a time column without a rate)
// counts as time, but of no known unit: -1.
double TimeColumnScale(const Caption& caption) {
    const std::string name = Lower(caption.name);
    const bool timeName =
        name == "t" || name == "x" || name == "timestamp" || name.compare(0, 4, "time") == 0;
    if (timeName) {
        if (caption.unit.empty()) return 1.0;
        const double scale = TimeScale(caption.unit);
        return scale != 0.0 ? scale : -1.0;
    }
    if (caption.unit.empty() && TimeScale(caption.name) != 0.0) return TimeScale(caption.name);
    if (name == "samples") return -1.0;
    return 0.0;
}

// "Channels (2/3): A0, A1" as {A0, A1}.
std::vector<std::string> ChannelsOfComment(std::string_view comment) {
    std::vector<std::string> names;
    comment = Trimmed(comment);
    if (comment.substr(0, 8) != "Channels") return names;
    const size_t colon = comment.find(':');
    if (colon == std::string_view::npos) return names;
    for (const std::string& each : CsvColumns(comment.substr(colon + 1), ",")) {
        const std::string_view name = Trimmed(each);
        if (!name.empty()) names.emplace_back(name);
    }
    return names;
}

// One in 2^30 of the rate is the last bits of the times' text, not a rate
// that is truly not whole.
double Snapped(double rate) {
    const double whole = std::round(rate);
    return std::fabs(rate - whole) <= rate * 1e-9 ? whole : rate;
}

}  // namespace

std::string CsvColumnFormats(size_t column) {
    return column == 0 ? "a" : std::to_string(column) + "-,a";
}

bool ScanCsvLayout(std::string_view head, bool whole, CsvLayout& layout, std::string& error) {
    layout = CsvLayout{};
    if (head.substr(0, kBom.size()) == kBom) head.remove_prefix(kBom.size());
    layout.lineEnd = CsvLineEnd(head);
    // libsigrok takes nothing from a file without an end of a line.
    if (layout.lineEnd.empty()) {
        error = "no samples";
        return false;
    }
    std::vector<std::string_view> lines;
    for (size_t from = 0;;) {
        const size_t at = head.find(layout.lineEnd, from);
        if (at == std::string_view::npos) {
            if (whole) lines.push_back(head.substr(from));
            break;
        }
        lines.push_back(head.substr(from, at - from));
        from = at + layout.lineEnd.size();
    }

    double commentRate = 0.0;
    std::vector<std::string> commentNames;
    std::vector<std::string> captions;
    bool sawFirst = false;
    bool leaderSet = false;
    std::vector<std::string> firstData;
    std::vector<double> column0;
    std::vector<double> timeValues;
    for (const std::string_view line : lines) {
        if (line.empty()) continue;
        if (!leaderSet) {
            leaderSet = true;
            if (line.front() == '#') layout.commentLeader = "#";
        }
        const std::string text = WithoutCsvComment(line, layout.commentLeader);
        if (text.empty()) {
            const size_t at = line.find(layout.commentLeader);
            const std::string_view comment = line.substr(at + layout.commentLeader.size());
            if (const double rate = CsvRateOfComment(comment); rate > 0.0) commentRate = rate;
            if (auto names = ChannelsOfComment(comment); !names.empty()) commentNames = names;
            continue;
        }
        if (!sawFirst) {
            sawFirst = true;
            if (text.find(',') == std::string::npos && text.find('\t') != std::string::npos)
                layout.separator = "\t";
            double ignored = 0.0;
            for (const std::string& column : CsvColumns(text, layout.separator)) {
                if (!IsCsvNumber(column, ignored)) layout.header = true;
            }
            if (layout.header) {
                for (const std::string& column : CsvColumns(text, layout.separator))
                    captions.push_back(CsvCaption(column));
                for (size_t i = 0; i < captions.size() && layout.timeColumn < 0; ++i) {
                    if (TimeColumnScale(SplitCaption(captions[i])) != 0.0)
                        layout.timeColumn = static_cast<int>(i);
                }
                continue;
            }
        }
        const std::vector<std::string> columns = CsvColumns(text, layout.separator);
        if (firstData.empty()) firstData = columns;
        double value = std::numeric_limits<double>::quiet_NaN();
        if (!IsCsvNumber(columns[0], value)) value = std::numeric_limits<double>::quiet_NaN();
        column0.push_back(value);
        if (layout.timeColumn >= 0) {
            value = std::numeric_limits<double>::quiet_NaN();
            const size_t at = static_cast<size_t>(layout.timeColumn);
            if (at >= columns.size() || !IsCsvNumber(columns[at], value))
                value = std::numeric_limits<double>::quiet_NaN();
            timeValues.push_back(value);
        }
    }
    if (firstData.empty()) {
        error = "no samples";
        return false;
    }

    double timeScale = 1.0;
    if (layout.timeColumn >= 0) {
        timeScale = TimeColumnScale(SplitCaption(captions[layout.timeColumn]));
    } else if (!layout.header && firstData.size() >= 2 && column0.size() >= 3) {
        // Without captions, a first column of even steps is the time.
        double least = std::numeric_limits<double>::infinity();
        double most = -least;
        bool numbers = true;
        for (size_t i = 1; i < column0.size(); ++i) {
            const double step = column0[i] - column0[i - 1];
            if (!std::isfinite(step)) numbers = false;
            least = std::min(least, step);
            most = std::max(most, step);
        }
        const double mean =
            (column0.back() - column0.front()) / static_cast<double>(column0.size() - 1);
        if (numbers && least > 0.0 && most - least <= 0.01 * mean) {
            layout.timeColumn = 0;
            timeValues = column0;
        }
    }

    for (size_t i = 0; i < firstData.size(); ++i) {
        if (static_cast<int>(i) == layout.timeColumn) continue;
        double ignored = 0.0;
        if (!IsCsvNumber(firstData[i], ignored)) continue;
        CsvChannel channel;
        channel.column = i;
        if (layout.header && i < captions.size()) {
            const Caption caption = SplitCaption(captions[i]);
            channel.name = caption.name;
            const double scale = VoltScale(caption.unit);
            if (scale != 0.0) {
                channel.scaleToMv = scale;
            } else if (!caption.unit.empty()) {
                // Not a voltage: the caption is a name as it stands.
                channel.name = captions[i];
            }
        }
        layout.channels.push_back(channel);
    }
    if (layout.channels.empty()) {
        error = "no analog channel";
        return false;
    }
    const bool namesFromComment = commentNames.size() == layout.channels.size();
    for (size_t k = 0; k < layout.channels.size(); ++k) {
        std::string& name = layout.channels[k].name;
        if (!name.empty()) continue;
        name = namesFromComment ? commentNames[k] : "CH" + std::to_string(k + 1);
    }

    if (commentRate > 0.0) {
        layout.sampleRateHz = commentRate;
    } else if (layout.timeColumn >= 0 && timeScale > 0.0 && timeValues.size() >= 2) {
        const double span = (timeValues.back() - timeValues.front()) * timeScale;
        const double rate = static_cast<double>(timeValues.size() - 1) / span;
        if (span > 0.0 && std::isfinite(rate)) layout.sampleRateHz = Snapped(rate);
    }
    return true;
}

}  // namespace korvel
