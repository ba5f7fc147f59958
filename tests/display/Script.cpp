#include "display/Script.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <sstream>

namespace korvel::test {

namespace {
std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}
}  // namespace

std::vector<Scenario> ReadScenarios(const std::string& file) {
    std::vector<Scenario> scenarios;
    std::ifstream in(std::string(KORVEL_TEST_DATA_DIR) + "/" + file);
    std::string line;
    for (int32_t number = 1; std::getline(in, line); ++number) {
        line = Trim(line.substr(0, line.find('#')));
        if (line.rfind("== ", 0) == 0) {
            scenarios.push_back({file, line.substr(3), {}});
        } else if (!line.empty() && !scenarios.empty()) {
            scenarios.back().lines.emplace_back(number, line);
        }
    }
    EXPECT_FALSE(scenarios.empty()) << file;
    return scenarios;
}

std::string ScenarioName(const testing::TestParamInfo<Scenario>& info) {
    std::string name;
    bool upper = true;
    for (const char c : info.param.name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            upper = true;
        } else {
            name += upper ? static_cast<char>(std::toupper(c)) : c;
            upper = false;
        }
    }
    return name;
}

void Script::Run(const Scenario& scenario) {
    for (const auto& [number, text] : scenario.lines) {
        SCOPED_TRACE(scenario.file + ":" + std::to_string(number) + ": " + text);
        const size_t check = text.find(" == ");
        Words words;
        std::istringstream in(text.substr(0, check));
        for (std::string word; in >> std::quoted(word);)
            words.push_back(word);
        const auto figure = figures.find(words[0]);
        int32_t* const* whole =
            figure == figures.end() ? nullptr : std::get_if<int32_t*>(&figure->second);
        if (check != std::string::npos) {
            std::string answer;
            if (figure != figures.end()) {
                answer =
                    whole ? std::to_string(**whole) : Figure(*std::get<float*>(figure->second));
            } else {
                ASSERT_TRUE(probes.count(words[0])) << "no such probe";
                answer = probes[words[0]](words);
            }
            EXPECT_EQ(answer, Trim(text.substr(check + 4)));
        } else if (words.size() == 3 && words[1] == "=") {
            ASSERT_NE(figure, figures.end()) << "no such figure";
            whole ? void(** whole = Int(words[2]))
                  : void(*std::get<float*>(figure->second) = std::stof(words[2]));
        } else {
            ASSERT_TRUE(steps.count(words[0])) << "no such step";
            steps[words[0]](words);
        }
    }
}

int32_t Int(const std::string& word) {
    return static_cast<int32_t>(std::stol(word));
}

std::string Figure(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string Join(const std::vector<int32_t>& values) {
    std::string out;
    for (const int32_t v : values)
        out += (out.empty() ? "" : " ") + std::to_string(v);
    return out;
}

}  // namespace korvel::test
