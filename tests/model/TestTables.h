// Helpers of the tests that keep their cases as rows of a table under
// tests/data: reading the rows, naming the fields of the shared records, and
// pinning whole records by a fingerprint of their bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::test {

// Calls row(fields) for each line of tests/data/<name> that is neither blank
// nor a # comment, with the line named in any failure; returns the count.
int32_t ForEachRow(const std::string& name, const std::function<void(std::istringstream&)>& row);

// The fields of a row up to the next "|" or the end, as strtod reads them
// ("nan", "-inf" and "0x1p-149" too).
std::vector<double> Numbers(std::istream& fields);

// A field of the shared records by name: a setting by its key in the one
// table of settings, a run-time flag of OscState by its own name, or a sample
// of a buffer as "Record[i]", "AccBuffer[i]" or "FileData[i]".
struct NamedField {
    void* bits = nullptr;  // the field's 32 bits
    bool isFloat = false;
    int32_t paramId = -1;  // a setting's id for GetParam and SetParam, or -1
};
NamedField FieldNamed(const std::string& name);

// Reads NAME VALUE pairs up to "|" or the end and stores the values; with
// check, compares them with the fields instead, bit for bit (any NaN is a NaN).
void Fields(std::istream& row, bool check);

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
