// How libsigrok's csv input module reads the lines of a text: where a line
// ends, what a comment is, where columns part, what counts as a number. The
// program looks at a file by the same rules before handing it over (its
// columns, its rate) and after a refusal (the line refused), so that what it
// finds agrees with what the module does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The end of a line as the module settles it from the first bytes: "\r\n"
// when that is anywhere in them, else "\n", else "\r"; empty when there is
// no end of a line at all.
std::string CsvLineEnd(std::string_view text);

// The line without its comment: from the leader on the text is cut and the
// rest stripped of white space at both ends. A line without the leader stays
// as it is; an empty leader means no comments.
std::string WithoutCsvComment(std::string_view line, std::string_view leader);

// The columns of a line, split at every separator.
std::vector<std::string> CsvColumns(std::string_view line, std::string_view separator);

// Whether text is a number as the module reads one: the whole of it (white
// space before the number but none after), in the C locale's notation,
// within a double's range. The number goes to value.
bool IsCsvNumber(const std::string& text, double& value);

// A column's caption without white space around it or the quotes (double or
// single) around that.
std::string CsvCaption(std::string_view text);

}  // namespace korvel
