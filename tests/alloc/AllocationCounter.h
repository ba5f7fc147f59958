// Counts the heap allocations one thread makes between Start and Stop: every
// form of the global operator new and new[], and malloc, calloc and realloc
// from any library. Linking AllocationCounter.cpp replaces them for the
// whole executable, so it lives in its own test program.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel::test {

struct AllocationTally {
    int64_t count = 0;
    size_t firstSize = 0;               // bytes asked for by the first allocation counted
    const void* firstCaller = nullptr;  // the code that asked for it
};

void StartCountingAllocations();
AllocationTally StopCountingAllocations();

}  // namespace korvel::test
