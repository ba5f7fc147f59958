#include "alloc/AllocationCounter.h"

#include <cstdlib>
#include <new>

// glibc's own entry points: the replacements below hand every request on to
// them, so memory from memalign or strdup is still freed by the same heap.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void __libc_free(void* p);
}

namespace {

// Only the thread that asked counts; initial-exec so that reaching the flag
// never allocates itself.
__attribute__((tls_model("initial-exec"))) thread_local bool Counting = false;
__attribute__((tls_model("initial-exec"))) thread_local korvel::test::AllocationTally Tally;

void Note(size_t size, const void* caller) {
    if (!Counting) return;
    if (Tally.count == 0) {
        Tally.firstSize = size;
        Tally.firstCaller = caller;
    }
    ++Tally.count;
}

void* NewOf(size_t size, const void* caller) {
    Note(size, caller);
    if (void* p = __libc_malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void* AlignedNewOf(size_t size, std::align_val_t alignment, const void* caller) {
    Note(size, caller);
    const size_t align = static_cast<size_t>(alignment);
    const size_t rounded = (size + align - 1) / align * align;
    if (void* p = std::aligned_alloc(align, rounded == 0 ? align : rounded)) return p;
    throw std::bad_alloc();
}

}  // namespace

namespace korvel::test {

void StartCountingAllocations() {
    Tally = AllocationTally{};
    Counting = true;
}

AllocationTally StopCountingAllocations() {
    Counting = false;
    return Tally;
}

}  // namespace korvel::test

extern "C" {

void* malloc(size_t size) {
    Note(size, __builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    Note(count * size, __builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size) {
    Note(size, __builtin_return_address(0));
    return __libc_realloc(p, size);
}

void free(void* p) {
    __libc_free(p);
}

}  // extern "C"

void* operator new(size_t size) {
    return NewOf(size, __builtin_return_address(0));
}
void* operator new[](size_t size) {
    return NewOf(size, __builtin_return_address(0));
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    Note(size, __builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    Note(size, __builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new(size_t size, std::align_val_t alignment) {
    return AlignedNewOf(size, alignment, __builtin_return_address(0));
}
void* operator new[](size_t size, std::align_val_t alignment) {
    return AlignedNewOf(size, alignment, __builtin_return_address(0));
}
void operator delete(void* p) noexcept {
    __libc_free(p);
}
void operator delete[](void* p) noexcept {
    __libc_free(p);
}
void operator delete(void* p, size_t) noexcept {
    __libc_free(p);
}
void operator delete[](void* p, size_t) noexcept {
    __libc_free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    __libc_free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    __libc_free(p);
}
void operator delete(void* p, size_t, std::align_val_t) noexcept {
    __libc_free(p);
}
void operator delete[](void* p, size_t, std::align_val_t) noexcept {
    __libc_free(p);
}
