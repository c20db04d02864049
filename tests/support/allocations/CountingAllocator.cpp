#include "tests/support/allocations/CountingAllocator.h"

#include <cstdlib>
#include <new>

namespace zor::test {

std::atomic<bool> countingAllocations{false};
std::atomic<long> countedAllocations{0};

} // namespace zor::test

void* operator new(std::size_t size) {
    if (zor::test::countingAllocations.load(std::memory_order_relaxed))
        zor::test::countedAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
// GCC takes the free below for a mismatch with operator new; here they are one pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
