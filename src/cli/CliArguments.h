// The command line of one subcommand: its words, its options and the numbers
// they carry. Every fault is a CliError that names the subcommand and says
// what was wrong; nothing is guessed from a bad number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel::cli {

// Exit statuses: 0 done, 1 the work failed (a file could not be read or
// written), 2 the command line was wrong.
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

struct CliError {
    int status;
    std::string message;
};

[[noreturn]] void UsageError(const std::string& message);
[[noreturn]] void Failure(const std::string& message);

class Arguments {
  public:
    explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

    // The next word, or false at the end. An option "--name=value" comes as
    // "--name" with its value held for Value(). A word "--" ends the options:
    // it is not handed out, and every word after it is a name, even one that
    // begins with a dash.
    bool Next(std::string& word);
    // The word just taken is an option, not a name ("-" alone names the
    // standard input).
    bool IsOption(const std::string& word) const {
        return !optionsEnded_ && word.size() > 1 && word[0] == '-';
    }
    // The value of the option just taken: the part after "=", else the next
    // word. A missing value is an error.
    std::string Value(const std::string& option);
    // An option that takes no value must not have been given one.
    void NoValue(const std::string& option);

  private:
    std::vector<std::string> words_;
    size_t next_ = 0;
    bool optionsEnded_ = false;
    bool hasInlineValue_ = false;
    std::string inlineValue_;
};

// A whole decimal integer within lo..hi (blanks around it allowed).
int32_t ParseCount(const std::string& option, const std::string& text, int32_t lo, int32_t hi);

// A whole finite number, as "%g" reads it (blanks around it allowed).
double ParseNumber(const std::string& option, const std::string& text);
// The same check, giving back the text itself: typed into a field, it
// converts there exactly as the window converts what a user types.
std::string ParseNumberText(const std::string& option, const std::string& text);

struct PictureSize {
    int32_t width;
    int32_t height;
};

// "WxH", each 1..MaxPictureSide pixels.
inline constexpr int32_t MaxPictureSide = 8192;
PictureSize ParseSize(const std::string& option, const std::string& text);

// The extension of a path, lower case, without the dot ("" when none).
std::string Extension(const std::string& path);

}  // namespace korvel::cli
