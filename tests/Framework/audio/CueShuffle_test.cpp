#include "Framework/audio/CueShuffle.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/math/Randomizer.h"

namespace zor {
namespace {

CueShuffle shuffleOf(const std::vector<float>& weights) {
    CueShuffle shuffle;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        shuffle.add(int(i), weights[i]);
    }
    shuffle.complete();
    return shuffle;
}

TEST(CueShuffleTest, EverySampleOncePerCycle) {
    const std::vector<std::vector<float>> weightSets = {
        {1.0f, 1.0f, 1.0f}, {0.1f, 0.1f, 0.1f}, {5.0f, 0.5f, 0.05f, 2.0f}, {0.0f, 0.0f}, {3.0f, 0.0f, 1.0f}, {1.0f},
    };
    for (const std::vector<float>& weights : weightSets) {
        CueShuffle shuffle = shuffleOf(weights);
        Randomizer randomizer = Randomizer::fromSeed(12345);
        for (int cycle = 0; cycle < 50; ++cycle) {
            std::vector<int> drawn;
            for (std::size_t i = 0; i < weights.size(); ++i) {
                drawn.push_back(shuffle.draw(randomizer));
            }
            std::sort(drawn.begin(), drawn.end());
            for (std::size_t i = 0; i < weights.size(); ++i) {
                ASSERT_EQ(drawn[i], int(i)) << "cycle " << cycle << " of " << weights.size() << " weights";
            }
        }
    }
}

TEST(CueShuffleTest, ANewCycleStartsWithTheWholeWeight) {
    CueShuffle shuffle = shuffleOf({1.0f, 2.0f, 4.0f});
    Randomizer randomizer = Randomizer::fromSeed(99);
    EXPECT_FLOAT_EQ(shuffle.remainingWeight(), 7.0f);
    shuffle.draw(randomizer);
    shuffle.draw(randomizer);
    shuffle.draw(randomizer);
    EXPECT_EQ(shuffle.position(), 3u);
    EXPECT_NEAR(shuffle.remainingWeight(), 0.0f, 1e-6f);
    const int first = shuffle.draw(randomizer);
    EXPECT_EQ(shuffle.position(), 1u);
    EXPECT_FLOAT_EQ(shuffle.remainingWeight(), 7.0f - float(1 << first));
}

TEST(CueShuffleTest, TheDrawFollowsTheWeights) {
    // Output 0 targets the first remaining entry; output 0xFFFFFF80 (1.0) the last one.
    Randomizer low(0, 0);
    Randomizer high(0xFF800000u, 0xFFFF0000u);
    CueShuffle shuffle = shuffleOf({1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_EQ(shuffle.draw(low), 0);
    EXPECT_EQ(shuffle.draw(high), 3);
    EXPECT_EQ(shuffle.draw(low), 2); // entry 3 went to position 1, entry 1 to where 3 was
    EXPECT_EQ(shuffle.draw(low), 1);
}

// With three weights of 0.1 the remaining weight after one draw (0.3 - 0.1 in float) is
// slightly more than 0.1 + 0.1, so a draw of 1.0 runs past the end of the walk. Falling
// back to the first entry would play it twice in the cycle and drop another.
TEST(CueShuffleTest, RoundingPastTheEndStillDrawsAnUndrawnSample) {
    CueShuffle shuffle = shuffleOf({0.1f, 0.1f, 0.1f});
    Randomizer low(0, 0);
    EXPECT_EQ(shuffle.draw(low), 0);
    Randomizer high(0xFF800000u, 0xFFFF0000u);
    EXPECT_EQ(shuffle.draw(high), 2);
    EXPECT_EQ(shuffle.draw(low), 1);
}

TEST(CueShuffleTest, NoSamplesDrawNothing) {
    CueShuffle shuffle = shuffleOf({});
    Randomizer randomizer = Randomizer::fromSeed(1);
    EXPECT_EQ(shuffle.draw(randomizer), -1);
}

} // namespace
} // namespace zor
