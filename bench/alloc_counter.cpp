#include "bench/alloc_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(__SANITIZE_MEMORY__)
#define KOLVANE_ALLOC_COUNTER 0
#else
#define KOLVANE_ALLOC_COUNTER 1
#endif

namespace kolvane::perf {

namespace {

std::atomic<bool> counting{false};
std::atomic<std::int64_t> allocations{0};
std::atomic<std::int64_t> frees{0};
std::atomic<std::int64_t> bytes{0};

}  // namespace

// Called by the replacements below; plain functions so that they never allocate.
void noteAllocation(std::size_t size) {
    if (!counting.load(std::memory_order_relaxed)) return;
    allocations.fetch_add(1, std::memory_order_relaxed);
    bytes.fetch_add(static_cast<std::int64_t>(size), std::memory_order_relaxed);
}

void noteFree(const void* p) {
    if (p == nullptr || !counting.load(std::memory_order_relaxed)) return;
    frees.fetch_add(1, std::memory_order_relaxed);
}

bool available() {
    return KOLVANE_ALLOC_COUNTER != 0;
}

void start() {
    allocations = 0;
    frees = 0;
    bytes = 0;
    counting = true;
}

AllocationCount current() {
    return {allocations.load(), frees.load(), bytes.load()};
}

AllocationCount stop() {
    counting = false;
    return current();
}

}  // namespace kolvane::perf

#if KOLVANE_ALLOC_COUNTER

// The C library's allocator under its own names (glibc exports these so that
// a program may replace malloc and still reach it).
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t n, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);

void* malloc(std::size_t size) {
    kolvane::perf::noteAllocation(size);
    return __libc_malloc(size);
}

void* calloc(std::size_t n, std::size_t size) {
    kolvane::perf::noteAllocation(n * size);
    return __libc_calloc(n, size);
}

void* realloc(void* p, std::size_t size) {
    kolvane::perf::noteAllocation(size);
    return __libc_realloc(p, size);
}

void free(void* p) {
    kolvane::perf::noteFree(p);
    __libc_free(p);
}

void* memalign(std::size_t alignment, std::size_t size) {
    kolvane::perf::noteAllocation(size);
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    kolvane::perf::noteAllocation(size);
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return 22;  // EINVAL
    kolvane::perf::noteAllocation(size);
    void* p = __libc_memalign(alignment, size);
    if (p == nullptr) return 12;  // ENOMEM
    *out = p;
    return 0;
}

void* valloc(std::size_t size) {
    kolvane::perf::noteAllocation(size);
    return __libc_memalign(4096, size);
}
}

namespace {

void* allocate(std::size_t size) {
    if (size == 0) size = 1;
    void* p = std::malloc(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (size == 0) size = 1;
    void* p = memalign(static_cast<std::size_t>(alignment), size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size);
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}

#endif  // KOLVANE_ALLOC_COUNTER
