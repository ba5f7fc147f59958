#include "display/Script.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <sstream>

namespace korvel::test {

namespace {
std::string Trim(std::string text) {
    return text.erase(text.find_last_not_of(' ') + 1).erase(0, text.find_first_not_of(' '));
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
    for (char& c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    return name;
}

void Script::Run(const Scenario& scenario) {
    for (const auto& [number, text] : scenario.lines) {
        SCOPED_TRACE(scenario.file + ":" + std::to_string(number) + ": " + text);
        const size_t check = text.find(" == ");
        Words w;
        std::istringstream in(text.substr(0, check));
        for (std::string word; in >> std::quoted(word);)
            w.push_back(word);
        const auto figure = figures.find(w[0]);
        auto value = [](auto* f) { return Figure(static_cast<float>(*f)); };
        auto set = [&](auto* f) { *f = static_cast<std::decay_t<decltype(*f)>>(std::stod(w[2])); };
        if (check != std::string::npos && figure != figures.end()) {
            EXPECT_EQ(std::visit(value, figure->second), Trim(text.substr(check + 4)));
        } else if (check != std::string::npos) {
            ASSERT_TRUE(probes.count(w[0]) != 0) << "no such probe";
            EXPECT_EQ(probes[w[0]](w), Trim(text.substr(check + 4)));
        } else if (figure != figures.end() && w.size() == 3 && w[1] == "=") {
            std::visit(set, figure->second);
        } else {
            ASSERT_TRUE(steps.count(w[0]) != 0) << "no such step";
            steps[w[0]](w);
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
