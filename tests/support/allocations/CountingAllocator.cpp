#include "tests/support/allocations/CountingAllocator.h"

#include <cstdlib>
#include <new>

namespace zor::test {

std::atomic<bool> countingAllocations{false};
std::atomic<long> countedAllocations{0};

namespace {

void count() {
    if (countingAllocations.load(std::memory_order_relaxed)) countedAllocations.fetch_add(1, std::memory_order_relaxed);
}

} // namespace
} // namespace zor::test

void* operator new(std::size_t size) {
    zor::test::count();
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
// The standard library's temporary buffers (stable sorts) take the nothrow form and give
// it back through the plain delete below, so both forms must be ours.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    zor::test::count();
    return std::malloc(size ? size : 1);
}
// GCC takes the free below for a mismatch with operator new; here they are one pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
