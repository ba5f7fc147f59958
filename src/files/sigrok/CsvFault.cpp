#include "files/sigrok/CsvFault.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "files/InputFile.h"
#include "files/sigrok/CsvText.h"

namespace korvel {

namespace {

constexpr size_t kPieceBytes = 64 * 1024;

class LineCheck {
  public:
    LineCheck(const CsvLayout& layout, size_t column)
        : layout_(layout), column_(column), headerLeft_(layout.header) {}

    // The fault of the next line, empty when it has none.
    std::string Check(const std::string& line) {
        ++number_;
        if (line.empty()) return "";
        const std::string text = WithoutCsvComment(line, layout_.commentLeader);
        if (text.empty()) return "";
        if (headerLeft_) {
            headerLeft_ = false;
            return "";
        }
        const std::vector<std::string> columns = CsvColumns(text, layout_.separator);
        char fault[96];
        if (columns.size() <= column_) {
            std::snprintf(fault, sizeof fault, "line %" PRIu64 " has no column %zu", number_,
                          column_ + 1);
            return fault;
        }
        double ignored = 0.0;
        if (!IsCsvNumber(columns[column_], ignored)) {
            std::snprintf(fault, sizeof fault, "column %zu is not a number on line %" PRIu64,
                          column_ + 1, number_);
            return fault;
        }
        return "";
    }

  private:
    const CsvLayout& layout_;
    size_t column_;
    bool headerLeft_;
    uint64_t number_ = 0;
};

}  // namespace

std::string FindCsvFault(const std::string& path, const CsvLayout& layout, size_t column,
                         size_t longestLine) {
    InputFile file(path, InputKinds::RegularFiles, SIZE_MAX);
    if (!file.IsOpen() || layout.lineEnd.empty()) return "";
    LineCheck check(layout, column);
    std::vector<char> piece(kPieceBytes);
    std::string pending;
    bool first = true;
    for (;;) {
        const size_t got = file.Read(piece.data(), piece.size());
        if (got == 0) break;
        pending.append(piece.data(), got);
        if (first && pending.size() >= 3) {
            first = false;
            if (pending.compare(0, 3, "\xEF\xBB\xBF") == 0) pending.erase(0, 3);
        }
        size_t from = 0;
        for (;;) {
            const size_t at = pending.find(layout.lineEnd, from);
            if (at == std::string::npos) break;
            std::string fault = check.Check(pending.substr(from, at - from));
            if (!fault.empty()) return fault;
            from = at + layout.lineEnd.size();
        }
        pending.erase(0, from);
        if (pending.size() > longestLine) return "";
    }
    return pending.empty() ? "" : check.Check(pending);
}

}  // namespace korvel
