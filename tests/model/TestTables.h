// Helpers of the tests that keep their cases as rows of a table under
// tests/data, or pin whole records by a fingerprint of their bits.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::test {

// Calls row(fields) for each line of tests/data/<name> that is neither blank
// nor a # comment, with the line named in any failure; returns the count.
inline int32_t ForEachRow(const std::string& name,
                          const std::function<void(std::istringstream&)>& row) {
    std::ifstream file(std::string(KORVEL_TEST_DATA_DIR) + "/" + name);
    int32_t rows = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(name + ": " + line);
        std::istringstream fields(line);
        row(fields);
        ++rows;
    }
    return rows;
}

// The next field of a row as strtod reads it: "nan", "-inf" and "0x1p-149" too.
inline double Number(std::istream& fields) {
    std::string text;
    fields >> text;
    return std::strtod(text.c_str(), nullptr);
}

// The fields of a row up to the next "|" or the end, as Number reads them.
inline std::vector<double> Numbers(std::istream& fields) {
    std::vector<double> numbers;
    for (std::string text; fields >> text && text != "|";)
        numbers.push_back(std::strtod(text.c_str(), nullptr));
    return numbers;
}

// The next 24 bits of a linear-congruential generator: inputs that are the
// same on every machine.
inline uint32_t Draw(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A fingerprint of the bits of values[0 .. count - 1] (64-bit FNV-1a).
template <typename T>
uint64_t BitPrint(const T* values, size_t count, uint64_t print = 14695981039346656037ull) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    for (size_t i = 0; i < count * sizeof(T); ++i)
        print = (print ^ bytes[i]) * 1099511628211ull;
    return print;
}

}  // namespace korvel::test
