#include "Framework/core/math/RandomDeck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Framework/core/math/LegacyRandomizer.h"
#include "Framework/core/math/RandomField.h"
#include "Framework/core/math/Randomizer.h"
#include "tests/support/common/RecordingRandomizer.h"

namespace zor {
namespace {

// The draw written out step by step: a running single-precision sum from the first
// undrawn entry, the first entry it reaches, a swap to the front.
struct ReferenceDeck {
    std::vector<std::pair<int, float>> entries;
    std::size_t drawn = 0;
    float total = 0.0f;
    float remaining = 0.0f;

    int draw(IRandomizer& random) {
        if (drawn >= entries.size()) {
            drawn = 0;
            remaining = total;
        }
        const float r = random.nextFloatRange(0.0f, remaining);
        float sum = 0.0f;
        std::size_t i = drawn;
        for (; i < entries.size(); ++i) {
            sum += entries[i].second;
            if (r <= sum) break;
        }
        i = std::min(i, entries.size() - 1);
        remaining -= entries[i].second;
        std::swap(entries[i], entries[drawn]);
        return entries[drawn++].first;
    }
};

TEST(RandomDeckTest, DrawsFollowTheRunningSum) {
    struct Case {
        std::size_t size;
        bool weighted;
    };
    const Case cases[] = {{1, false}, {2, false}, {5, false}, {37, false}, {1000, false}, {7, true}, {200, true}};
    for (const Case& c : cases) {
        std::vector<RandomDeck<int>::Entry> entries;
        ReferenceDeck reference;
        for (std::size_t i = 0; i < c.size; ++i) {
            const float weight = c.weighted ? 0.25f + float(i % 4) : 1.0f;
            entries.push_back({int(i), weight});
            reference.entries.emplace_back(int(i), weight);
            reference.total += weight;
        }
        reference.remaining = reference.total;
        RandomDeck<int> deck(entries);
        for (bool legacy : {false, true}) {
            RandomizerAdapter<Randomizer> adapter(0x1F123BB5u, 0x159A55E5u);
            LegacyRandomizer old(0x1F123BB5u, 0x159A55E5u);
            IRandomizer& a = legacy ? static_cast<IRandomizer&>(old) : adapter;
            RandomizerAdapter<Randomizer> adapterTwin(0x1F123BB5u, 0x159A55E5u);
            LegacyRandomizer oldTwin(0x1F123BB5u, 0x159A55E5u);
            IRandomizer& b = legacy ? static_cast<IRandomizer&>(oldTwin) : adapterTwin;
            for (std::size_t i = 0; i < 3 * c.size; ++i)
                ASSERT_EQ(deck.draw(a), reference.draw(b)) << "size " << c.size << " draw " << i;
        }
    }
}

TEST(RandomDeckTest, EveryRoundIsAPermutation) {
    RandomDeck<bool> deck(std::vector<bool>{true, true, false, false, false});
    Randomizer base = Randomizer::fromSeed(7);
    RandomizerAdapter<Randomizer> random(base.w(), base.z());
    for (int round = 0; round < 50; ++round) {
        int trues = 0;
        for (int i = 0; i < 5; ++i) trues += deck.draw(random) ? 1 : 0;
        ASSERT_EQ(trues, 2) << "round " << round;
        EXPECT_EQ(deck.drawn(), 5u);
    }

    RandomDeck<int> numbers(std::vector<int>{10, 20, 30, 40});
    for (int round = 0; round < 20; ++round) {
        std::vector<int> seen;
        for (int i = 0; i < 4; ++i) seen.push_back(numbers.draw(random));
        std::sort(seen.begin(), seen.end());
        ASSERT_EQ(seen, (std::vector<int>{10, 20, 30, 40}));
    }
}

TEST(RandomDeckTest, TheDrawnEntryMovesToTheFrontOfTheRest) {
    // A draw of 1.0 reaches the last undrawn entry.
    Randomizer top(0xFFFFu << 16, 0xFFFF0000u);
    RandomizerAdapter<Randomizer> random(top.w(), top.z());
    RandomDeck<int> deck(std::vector<int>{1, 2, 3});
    EXPECT_EQ(deck.draw(random), 3);
    std::vector<int> order;
    for (const auto& entry : deck.entries()) order.push_back(entry.value);
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));

    // Zero draws take the first undrawn entry.
    RandomizerAdapter<Randomizer> zero(0, 0);
    EXPECT_EQ(deck.draw(zero), 2);
    EXPECT_EQ(deck.draw(zero), 1);
    EXPECT_EQ(deck.draw(zero), 3);  // a new round from the current order
}

TEST(RandomDeckTest, AnEmptyDeckYieldsTheDefaultWithoutDrawing) {
    RandomizerAdapter<Randomizer> inner(1, 2);
    test::RecordingRandomizer random(inner);
    RandomDeck<bool> deck(std::vector<bool>{});
    EXPECT_FALSE(deck.draw(random));
    EXPECT_TRUE(random.log.empty());
}

TEST(RandomDeckTest, AssignAndResetStartNewRounds) {
    RandomizerAdapter<Randomizer> zero(0, 0);
    RandomDeck<int> deck(std::vector<RandomDeck<int>::Entry>{{1, 2.0f}, {2, 0.5f}});
    EXPECT_FLOAT_EQ(deck.totalWeight(), 2.5f);
    EXPECT_EQ(deck.draw(zero), 1);
    deck.reset();
    EXPECT_EQ(deck.drawn(), 0u);
    deck.assign({{5, 1.5f}});
    EXPECT_FLOAT_EQ(deck.totalWeight(), 1.5f);
    EXPECT_EQ(deck.draw(zero), 5);
}

using Bands = RandomField<int>;

Bands tierBands() {
    return Bands({{-2, 1.0f, -1.5f, 0.6f, 0.0f},
                  {-1, 1.0f, -0.5f, 0.6f, 0.0f},
                  {0, 1.0f, 0.5f, 0.6f, 0.0f},
                  {1, 1.0f, 1.5f, 0.6f, 0.0f},
                  {2, 1.0f, 2.5f, 0.6f, 0.0f}});
}

TEST(RandomFieldTest, WeightsFollowTheBellOfEachEntry) {
    RandomizerAdapter<Randomizer> zero(0, 0);
    struct Case {
        float position;
        std::vector<float> weights;
    };
    const float near = std::exp(-1.0f / 0.72f);  // one band away
    const float far = std::exp(-4.0f / 0.72f);   // two bands away
    const Case cases[] = {
        {0.5f, {far, near, 1.0f, near, far}},
        {1.5f, {std::exp(-9.0f / 0.72f), far, near, 1.0f, near}},
        {-1.5f, {1.0f, near, far, std::exp(-9.0f / 0.72f), std::exp(-16.0f / 0.72f)}},
    };
    for (const Case& c : cases) {
        Bands bands = tierBands();
        bands.pick(zero, c.position);
        for (std::size_t i = 0; i < c.weights.size(); ++i)
            EXPECT_NEAR(bands.entries()[i].weight, c.weights[i], 2e-6f * std::max(1.0f, c.weights[i]))
                << "position " << c.position << " entry " << i;
    }

    // At its centre an entry weighs exactly its amplitude.
    Bands single({{7, 2.5f, 3.0f, 0.8f, 0.0f}, {8, 4.0f, -2.0f, 1.3f, 0.0f}});
    single.pick(zero, 3.0f);
    EXPECT_EQ(single.entries()[0].weight, 2.5f);
    single.pick(zero, -2.0f);
    EXPECT_EQ(single.entries()[1].weight, 4.0f);
}

TEST(RandomFieldTest, PickTakesTheFirstEntryTheSumReaches) {
    // At 0.5 the weights are about 0.0039, 0.249, 1, 0.249, 0.0039 (total 1.506).
    struct Case {
        std::uint32_t output;  // the draw's raw output
        int value;
    };
    const Case cases[] = {
        {0x00000000u, -2},  // r = 0: the first entry already reaches it
        {0x02000000u, -1},  // r = 0.0118
        {0x40000000u, 0},   // r = 0.376
        {0xE0000000u, 1},   // r = 1.318
        {0xFFFFFFFFu, 2},   // r = the total
    };
    for (const Case& c : cases) {
        // With w = low << 16 and z = high << 16 the next step gives w = low and z = high.
        Randomizer generator((c.output & 0xFFFFu) << 16, c.output & 0xFFFF0000u);
        RandomizerAdapter<Randomizer> random(generator.w(), generator.z());
        Bands bands = tierBands();
        EXPECT_EQ(bands.pick(random, 0.5f).value, c.value) << std::hex << c.output;
    }
}

} // namespace
} // namespace zor
