// A light step allocates nothing: this program counts every operator new made while the
// light follows the player down an open 60 x 600 mine, revealing and announcing secrets.

#include "tests/game/simulation/light/LightFixture.h"

#include "tests/support/allocations/CountingAllocator.h"

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
        countingAllocations = true;
        step(0.25f);
        countingAllocations = false;
    }
    EXPECT_EQ(countedAllocations.load(), 0);
    // The run did the work: the window's 24 columns are lit all the way down, and every
    // secret was announced (each 20 s after the one before).
    for (const std::string& row : picture())
        for (char cell : row) seen += cell == 'o' || cell == 's';
    EXPECT_EQ(seen, 24 * 600);
    EXPECT_EQ(announced, 15);
}

} // namespace
} // namespace zor::test
