// Where a level's hardness curve reaches a tier, and the default hit rules that dig.

#include "tests/game/simulation/digging/DiggingFixture.h"

#include "game/simulation/digging/HardnessTierDepth.h"
#include "game/simulation/digging/TileHitRules.h"
#include "game/simulation/seams/SeamFactory.h"

#include <cmath>
#include <limits>

namespace zor::test {
namespace {

struct Curve {
    std::int32_t multiplier = 1;
    std::int32_t constant = 0;
    float linear = 0.05f;
    float power = 1.0f;
    std::int32_t depthDelta = 0;
    std::int32_t startDepth = 0;

    LevelDefinition level() const {
        LevelDefinition definition;
        definition.hardnessMultiplier = multiplier;
        definition.hardnessConstant = constant;
        definition.hardnessLinear = linear;
        definition.hardnessPower = power;
        definition.hardnessDepthDelta = depthDelta;
        definition.startDepth = startDepth;
        return definition;
    }
};

TEST(HardnessTierDepthTest, TheCurveInvertedWithNonFiniteDepthsBeyondTheLevel) {
    constexpr float Beyond = std::numeric_limits<float>::infinity();
    struct Case {
        const char* label;
        Curve curve;
        std::int32_t tier;
        float depth;
    };
    const Case cases[] = {
        {"no multiplier: 0", {0, 0, 0.05f, 1, 0, 0}, 0, 0.0f},
        {"no multiplier, any tier: 0", {0, 3, 0.05f, 1, 5, 7}, 9, 0.0f},
        {"linear", {1, 0, 0.05f, 1, 0, 0}, 2, 40.0f},
        {"less the start depth and delta", {1, 0, 0.05f, 1, 3, 20}, 2, 17.0f},
        {"square root of a power 2", {1, 0, 0.05f, 2, 0, 0}, 4, 40.0f},
        {"multiplier and constant", {2, 1, 0.1f, 1, 0, 5}, 6, 15.0f},
        {"a negative base under a fractional root", {1, 3, 0.05f, 2, 0, 0}, 1, Beyond},
        {"power 0", {1, 0, 0.05f, 0, 0, 0}, 2, Beyond},
        {"linear 0", {1, 0, 0.0f, 1, 0, 0}, 2, Beyond},
        {"linear 0 at tier 0", {1, 0, 0.0f, 1, 0, 0}, 0, Beyond},
    };
    for (const Case& c : cases) {
        const float depth = hardnessTierDepth(c.curve.level(), c.tier);
        if (std::isinf(c.depth))
            EXPECT_EQ(depth, c.depth) << c.label;
        else
            EXPECT_NEAR(depth, c.depth, 1e-4f) << c.label;
    }
}

TEST(HardnessTierDepthTest, TheDepthOfATierIsWhereTheTileHardnessReachesIt) {
    const LevelDefinition level = Curve{2, 1, 0.1f, 1, 0, 5}.level();
    for (std::int32_t tier = 2; tier <= 12; tier += 2) {
        const float depth = hardnessTierDepth(level, tier);
        EXPECT_GE(level.tileHardness(std::ceil(depth)), tier) << tier;
        EXPECT_LT(level.tileHardness(std::ceil(depth) - 1.0f), tier) << tier;
    }
}

TEST_F(DiggingTest, TheDefaultHitRulesDigAndGiveTheLevelsTierDepths) {
    const std::unique_ptr<HitRules> rules = SeamFactory().makeHitRules();
    ASSERT_NE(dynamic_cast<TileHitRules*>(rules.get()), nullptr);
    place({10, 4}, Rubble);
    DamageData pressure = hit(2, 1, DamageType::Pressure);
    EXPECT_FALSE(rules->digCell(objects(), 10, 4, pressure, fpVector2()));
    EXPECT_TRUE(rules->digCell(objects(), 10, 4, pressure, fpVector2()));
    EXPECT_FALSE(solid({10, 4}));

    level().hardnessMultiplier = 1;
    level().hardnessLinear = 0.05f;
    level().startDepth = 20;
    EXPECT_FLOAT_EQ(rules->depthOfHardnessTier(objects(), 2), 20.0f);
}

} // namespace
} // namespace zor::test
