// A light step allocates nothing: this program counts every operator new made while the
// light follows the player down an open 60 x 600 mine, revealing and announcing secrets.

#include "tests/game/simulation/light/LightFixture.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
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

namespace zor::test {
namespace {

TEST_F(LightTest, AStepAllocatesNothing) {
    setViewport(640.0f, 360.0f);
    std::vector<std::string> rows(600, std::string(60, '.'));
    for (std::size_t row = 20; row < rows.size(); row += 40) rows[row][18 + row % 24] = 'S';
    load(rows);
    long seen = 0;
    for (std::int32_t frame = 0; frame < 1200; ++frame) {
        const std::int32_t row = 5 + frame / 2;
        placePlayer(30, row);
        lookAt(30, row);
        counting = true;
        step(0.25f);
        counting = false;
    }
    EXPECT_EQ(allocations.load(), 0);
    // The run did the work: the window's 24 columns are lit all the way down, and every
    // secret was announced (each 20 s after the one before).
    for (const std::string& row : picture())
        for (char cell : row) seen += cell == 'o' || cell == 's';
    EXPECT_EQ(seen, 24 * 600);
    EXPECT_EQ(announced, 15);
}

} // namespace
} // namespace zor::test
