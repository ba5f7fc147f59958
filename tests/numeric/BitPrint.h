// Two helpers of the tests that pin whole records: a generator of inputs that
// is the same on every machine, and a fingerprint of a run of values' bits
// (64-bit FNV-1a), one number a table can hold.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel::test {

// The next 24 bits of a linear-congruential generator.
inline uint32_t Draw(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

template <typename T>
uint64_t BitPrint(const T* values, size_t count, uint64_t print = 14695981039346656037ull) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    for (size_t i = 0; i < count * sizeof(T); ++i)
        print = (print ^ bytes[i]) * 1099511628211ull;
    return print;
}

}  // namespace korvel::test
