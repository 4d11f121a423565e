#pragma once
// Counts heap allocations in a program that links alloc_counter.cpp: it
// replaces malloc, calloc, realloc, the aligned forms and free, and every
// form of operator new and delete (which go through them), forwarding to the
// C library's own allocator. Counting is off until start() is called.
//
// Under AddressSanitizer the sanitizer owns the allocator: nothing is
// replaced and available() is false.
#include <cstdint>

namespace kolvane::perf {

struct AllocationCount {
    std::int64_t allocations = 0;  // malloc, calloc, realloc, new and their aligned forms
    std::int64_t frees = 0;        // free and delete of a non-null pointer
    std::int64_t bytes = 0;        // bytes asked for
};

bool available();
void start();
AllocationCount stop();
// The count so far, while counting goes on.
AllocationCount current();

}  // namespace kolvane::perf
