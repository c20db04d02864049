#include "Framework/core/math/Randomizer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <initializer_list>
#include <thread>
#include <vector>

#include "Framework/core/math/LegacyRandomizer.h"

namespace zor {
namespace {

TEST(RandomizerTest, StepsFromKnownStates) {
    struct Case {
        std::uint32_t w, z;
        std::vector<std::uint32_t> outputs;
    };
    const Case cases[] = {
        // A zero state never leaves zero.
        {0, 0, {0, 0, 0, 0}},
        {1, 1, {0x90694650u, 0x5E60D900u, 0xE708E34Fu, 0x294DDE49u, 0x6338AB3Eu, 0x8B29B46Du}},
        // The level builder's starting words.
        {0x1F123BB5u, 0x159A55E5u, {0x30ED45A2u, 0x8AF31F06u, 0xF0696900u, 0xBCF1D885u}},
        // w is the word multiplied by 18000, z the one multiplied by 36969.
        {1, 0, {18000}},
        {0, 1, {36969u << 16}},
    };
    for (const Case& c : cases) {
        Randomizer random(c.w, c.z);
        for (std::size_t i = 0; i < c.outputs.size(); ++i)
            EXPECT_EQ(random.next(), c.outputs[i]) << "state " << c.w << "," << c.z << " draw " << i;
    }
}

TEST(RandomizerTest, OneStepFromOnesUpdatesBothWords) {
    Randomizer random(1, 1);
    EXPECT_EQ(random.next(), 2422818384u);
    EXPECT_EQ(random.w(), 18000u);
    EXPECT_EQ(random.z(), 36969u);

    Randomizer copy = random;
    EXPECT_EQ(copy.next(), random.next());
}

TEST(RandomizerTest, DrawsDerivedFromTheOutput) {
    Randomizer random(1, 1); // first output 0x90694650
    EXPECT_TRUE(Randomizer(1, 1).nextBool());
    EXPECT_EQ(Randomizer(1, 1).nextInt31(), 0x10694650);
    EXPECT_EQ(Randomizer(1, 1).nextIndex(3), 1u);
    EXPECT_EQ(Randomizer(1, 1).nextIndex(1), 0u);
    EXPECT_FALSE(Randomizer(1, 0).nextBool());
    EXPECT_FLOAT_EQ(random.nextFloat(), float(2422818384.0 / 4294967296.0));
}

// States whose next output is chosen: (w, z) = (v << 16, 0xFFFF0000) steps to
// output 0xFFFF0000 + v.
Randomizer withNextOutputLow(std::uint32_t lowWord) { return Randomizer(lowWord << 16, 0xFFFF0000u); }

TEST(RandomizerTest, FloatConversionRoundsTheTopOutputsToOne) {
    struct Case {
        std::uint32_t low;
        float expected;
    };
    const Case cases[] = {
        {0xFFFF, 1.0f},
        {0xFF80, 1.0f}, // exactly between the largest float below 1 and 1: rounds to even
        {0xFF7F, 0.99999994f},
        {0x0000, float(0xFFFF0000u / 4294967296.0)},
    };
    for (const Case& c : cases) {
        Randomizer random = withNextOutputLow(c.low);
        EXPECT_EQ(random.nextFloat(), c.expected) << std::hex << c.low;
    }
    Randomizer top = withNextOutputLow(0xFFFF);
    EXPECT_EQ(top.nextFloatRange(2.0f, 5.0f), 5.0f);
    Randomizer zero(0, 0);
    EXPECT_EQ(zero.nextFloat(), 0.0f);
}

TEST(RandomizerTest, ScaledAndRangedFloats) {
    for (std::uint32_t seed : {1u, 77u, 123456789u}) {
        Randomizer a = Randomizer::fromSeed(seed);
        Randomizer b = a;
        const float f = b.nextFloat();
        EXPECT_FLOAT_EQ(a.nextFloatScaled(4.0f), 4.0f * f);
        Randomizer c = b;
        const float g = b.nextFloat();
        EXPECT_FLOAT_EQ(c.nextFloatRange(10.0f, 2.0f), 10.0f - 8.0f * g); // a > b runs downwards
        EXPECT_EQ(b.nextFloatRange(3.5f, 3.5f), 3.5f);
    }
}

TEST(RandomizerTest, DirectionIsAUnitVectorAtTheDrawnAngle) {
    EXPECT_EQ(Randomizer(0, 0).nextDirection(), fpVector2(1.0f, 0.0f));
    Randomizer random = Randomizer::fromSeed(99);
    for (int i = 0; i < 100; ++i) {
        Randomizer peek = random;
        const float angle = peek.nextFloat() * 6.2831855f;
        const fpVector2 d = random.nextDirection();
        EXPECT_NEAR(d.length(), 1.0f, 1e-6f);
        EXPECT_FLOAT_EQ(d.x, std::cos(angle));
        EXPECT_FLOAT_EQ(d.y, std::sin(angle));
    }
}

TEST(RandomizerTest, SeedFillsBothWords) {
    const Randomizer one = Randomizer::fromSeed(1);
    EXPECT_EQ(one.w(), 1u);
    EXPECT_EQ(one.z(), 16052147u);
    const Randomizer big = Randomizer::fromSeed(123456789);
    EXPECT_EQ(big.w(), 123456789u);
    EXPECT_EQ(big.z(), 0x51AB00AFu); // the product wraps modulo 2^32
}

TEST(RandomizerTest, ClockSeedCountsHundredthsSince1601) {
    const std::uint32_t before = clockSeed();
    const double unixSeconds = double(std::time(nullptr));
    const double expected = std::fmod((unixSeconds + 11644473600.0) * 100.0, 2147483647.0);
    EXPECT_LT(before, 2147483647u);
    EXPECT_NEAR(double(before), expected, 300.0);

    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const std::uint32_t after = clockSeed();
    EXPECT_GE(after - before, 5u);
    EXPECT_LE(after - before, 200u);
}

TEST(RandomizerAdapterTest, SeedStoresFirstAsWAndSecondAsZ) {
    RandomizerAdapter<Randomizer> adapter(0x1F123BB5u, 0x159A55E5u);
    adapter.seed(1, 0);
    EXPECT_EQ(adapter.nextInt31(), 18000);
    adapter.seed(1, 1);
    EXPECT_EQ(adapter.generator().w(), 1u);
    EXPECT_EQ(adapter.generator().z(), 1u);
    EXPECT_EQ(adapter.nextInt31(), 0x10694650);
}

TEST(RandomizerAdapterTest, IntegerDrawsTakeTheHighWordOfTheProduct) {
    struct Case {
        std::uint32_t low; // next output 0xFFFF0000 + low
        std::int32_t a, b;
        std::int32_t range, below; // nextIntRange(a, b), nextIntBelow(b)
    };
    const Case cases[] = {
        {0xFFFF, 0, 10, 9, 9}, // the top output stays below the bound
        {0xFFFF, -5, 5, 4, 4},
        {0x0000, 0, 1, 0, 0},
        {0xFFFF, 0, 1, 0, 0},
        {0xFFFF, 7, 7, 7, 6}, // an empty range gives its start
        {0xFFFF, -100, -90, -91, -90}, // a negative bound sign-extends: results in [bound, 0]
    };
    for (const Case& c : cases) {
        Randomizer base = withNextOutputLow(c.low);
        RandomizerAdapter<Randomizer> adapter(base.w(), base.z());
        EXPECT_EQ(adapter.nextIntRange(c.a, c.b), c.range) << c.a << ".." << c.b;
        adapter.seed(base.w(), base.z());
        EXPECT_EQ(adapter.nextIntBelow(c.b), c.below) << c.b;
    }

    RandomizerAdapter<Randomizer> adapter(1, 1);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(adapter.nextIntBelow(1), 0);
        EXPECT_EQ(adapter.nextIntBelow(0), 0);
        const std::int32_t v = adapter.nextIntRange(-3, 4);
        EXPECT_GE(v, -3);
        EXPECT_LT(v, 4);
    }
}

TEST(RandomizerAdapterTest, FloatRangeKeepsTheSpanInDouble) {
    // 16777217 has no float; the span must not be rounded before the product.
    Randomizer base = withNextOutputLow(0xFFFF); // nextFloat 1.0
    RandomizerAdapter<Randomizer> adapter(base.w(), base.z());
    EXPECT_EQ(adapter.nextFloatRange(-1.0f, 16777216.0f), 16777216.0f);
    adapter.seed(base.w(), base.z());
    EXPECT_EQ(adapter.nextFloatScaled(3.0f), 3.0f);
    adapter.seed(base.w(), base.z());
    EXPECT_EQ(adapter.nextFloat(), 1.0f);
}

TEST(LegacyRandomizerTest, SharesTheSequenceWithTheAdapter) {
    LegacyRandomizer legacy(0x1F123BB5u, 0x159A55E5u);
    RandomizerAdapter<Randomizer> adapter(0x1F123BB5u, 0x159A55E5u);
    legacy.seed(987654321u, 42u);
    adapter.seed(987654321u, 42u);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(legacy.nextInt31(), adapter.nextInt31());
        ASSERT_EQ(legacy.nextFloat(), adapter.nextFloat());
        const std::int32_t v = legacy.nextIntBelow(1000);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 1000);
        ASSERT_NEAR(v, adapter.nextIntBelow(1000), 1); // one step each, same output
    }
}

TEST(LegacyRandomizerTest, DrawsGoThroughTheFloat) {
    const Randomizer top = withNextOutputLow(0xFFFF); // nextFloat 1.0
    LegacyRandomizer legacy(top.w(), top.z());
    EXPECT_EQ(legacy.nextIntBelow(10), 10); // reaches the bound
    legacy.seed(top.w(), top.z());
    EXPECT_EQ(legacy.nextIntRange(-5, 5), 5);
    legacy.seed(top.w(), top.z());
    // The span is rounded to float first: 16777217 becomes 16777216.
    EXPECT_EQ(legacy.nextFloatRange(-1.0f, 16777216.0f), 16777215.0f);
    legacy.seed(top.w(), top.z());
    EXPECT_EQ(legacy.nextFloatScaled(3.0f), 3.0f);

    const Randomizer half = withNextOutputLow(0); // nextFloat just below 1
    LegacyRandomizer below(half.w(), half.z());
    EXPECT_EQ(below.nextIntBelow(10), 9);
    below.seed(half.w(), half.z());
    EXPECT_EQ(below.nextIntRange(-10, -5), -6); // truncation toward zero of 4.99...
}

// The level builder's two generators share the step and the float conversion.
TEST(LevelGeneratorsTest, KnownSequencesWithBothGenerators) {
    LegacyRandomizer legacy(0x1F123BB5u, 0x159A55E5u);
    RandomizerAdapter<Randomizer> adapter(0x1F123BB5u, 0x159A55E5u);
    for (IRandomizer* random : std::initializer_list<IRandomizer*>{&legacy, &adapter}) {
        const char* name = random == &legacy ? "legacy" : "adapter";
        random->seed(1, 2);  // one step: z = 73938, w = 18000
        EXPECT_EQ(random->nextInt31(), 0x20D24650) << name;
        random->seed(1, 2);
        EXPECT_EQ(random->nextIntRange(0, 1000000), 128208) << name;
        random->seed(1, 2);
        EXPECT_EQ(random->nextFloat(), float(0x20D24650u / 4294967296.0)) << name;

        // A zero state never leaves zero: every draw gives its lowest value.
        random->seed(0, 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(random->nextInt31(), 0) << name;
            EXPECT_EQ(random->nextFloat(), 0.0f) << name;
            EXPECT_EQ(random->nextIntRange(-7, 12), -7) << name;
            EXPECT_EQ(random->nextIntBelow(5), 0) << name;
            EXPECT_EQ(random->nextFloatRange(2.5f, 9.0f), 2.5f) << name;
            EXPECT_EQ(random->nextFloatScaled(100.0f), 0.0f) << name;
        }
    }
}

} // namespace
} // namespace zor
