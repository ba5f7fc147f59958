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
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}
}  // namespace

std::vector<Scenario> ReadScenarios(const std::vector<std::string>& files) {
    std::vector<Scenario> scenarios;
    for (const std::string& file : files) {
        Scenario prelude;
        std::ifstream in(std::string(KORVEL_TEST_DATA_DIR) + "/" + file);
        const size_t first = scenarios.size();
        std::string line;
        for (int32_t number = 1; std::getline(in, line); ++number) {
            line = Trim(line.substr(0, line[0] == '#' ? 0 : line.find("  #")));
            if (line.rfind("== ", 0) == 0) {
                scenarios.push_back({file, line.substr(3), prelude.lines});
            } else if (!line.empty()) {
                (scenarios.size() == first ? prelude : scenarios.back())
                    .lines.emplace_back(number, line);
            }
        }
        EXPECT_NE(scenarios.size(), first) << file;
    }
    return scenarios;
}

std::string ScenarioName(const testing::TestParamInfo<Scenario>& info) {
    const std::string& file = info.param.file;
    const size_t stem = file.rfind('/') + 1;
    std::string name = file.substr(stem, file.rfind('.') - stem) + "_" + info.param.name;
    name[0] = static_cast<char>(std::toupper(name[0]));
    for (char& c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
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
        const bool known = figure != figures.end();
        int32_t* whole =
            known && figure->second.index() == 0 ? std::get<0>(figure->second) : nullptr;
        float* real = known && figure->second.index() == 1 ? std::get<1>(figure->second) : nullptr;
        if (check != std::string::npos) {
            ASSERT_TRUE(known || probes.count(words[0]) != 0) << "no such probe";
            const std::string answer = whole != nullptr  ? std::to_string(*whole)
                                       : real != nullptr ? Figure(*real)
                                                         : probes[words[0]](words);
            EXPECT_EQ(answer, Trim(text.substr(check + 4)));
        } else if (words.size() == 3 && words[1] == "=") {
            ASSERT_TRUE(known) << "no such figure";
            if (whole != nullptr) *whole = Int(words[2]);
            if (real != nullptr) *real = std::stof(words[2]);
        } else {
            ASSERT_TRUE(steps.count(words[0]) != 0) << "no such step";
            steps[words[0]](words);
        }
    }
}

std::string Hex(uint32_t color) {
    char text[16];
    std::snprintf(text, sizeof text, "%06x", color & 0xFFFFFF);
    return text;
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
