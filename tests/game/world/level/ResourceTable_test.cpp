// Which ore or gem a depth gets.

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/math/Randomizer.h"
#include "game/world/level/ResourceTable.h"
#include "tests/support/common/RecordingRandomizer.h"

namespace zor {
namespace {

std::shared_ptr<ResourceDefinition> resource(const std::string& name, ResourceType type, float tier) {
    auto definition = std::make_shared<ResourceDefinition>();
    definition->name = name;
    definition->resourceType = type;
    definition->depthTier = tier;
    return definition;
}

ResourceTable sampleTable() {
    return ResourceTable({resource("ore0", ResourceType::Ore, 0.0f), resource("gem0", ResourceType::Gem, 0.0f),
                          resource("ore1.5", ResourceType::Ore, 1.5f), resource("egg", ResourceType::Egg, 1.0f),
                          resource("gem2", ResourceType::Gem, 2.0f), resource("ore3", ResourceType::Ore, 3.0f),
                          resource("deep", ResourceType::Ore, -1.0f), resource("gem5", ResourceType::Gem, 5.0f),
                          resource("ore0b", ResourceType::Ore, 0.9f)});
}

// A generator whose next output is `output`.
RandomizerAdapter<Randomizer> nextOutput(std::uint32_t output) {
    return RandomizerAdapter<Randomizer>((output & 0xFFFFu) << 16, output & 0xFFFF0000u);
}

TEST(ResourceTableTest, OresByTierAndGemsInOrder) {
    const ResourceTable table = sampleTable();
    // A later ore of a tier replaces the earlier one; a negative tier is not entered.
    EXPECT_EQ(table.ores(), (std::vector<std::string>{"ore0b", "ore1.5", "", "ore3"}));
    ASSERT_EQ(table.gems().size(), 3u);
    EXPECT_EQ(table.gems()[2].name, "gem5");
}

TEST(ResourceTableTest, PicksWithoutRandomBands) {
    ResourceTable table = sampleTable();
    RandomizerAdapter<Randomizer> random(1, 2);
    struct Case {
        float position;
        ResourceType type;
        const char* name;
    };
    const Case cases[] = {
        {2.7f, ResourceType::Ore, ""},  // tier 2 has no ore
        {1.2f, ResourceType::Ore, "ore1.5"},
        {-0.5f, ResourceType::Ore, "ore0b"},  // truncates to 0
        {-7.0f, ResourceType::Ore, "ore0b"},
        {99.0f, ResourceType::Ore, "ore3"},  // beyond the last tier
        {3.9f, ResourceType::Gem, "gem2"},
        {6.0f, ResourceType::Gem, "gem5"},
        {-1.0f, ResourceType::Gem, "gem0"},
        {2.0f, ResourceType::Gem, "gem2"},
        {1.0f, ResourceType::Egg, ""},
        {1.0f, ResourceType::None, ""},
    };
    for (const Case& c : cases) {
        test::RecordingRandomizer recorder(random);
        EXPECT_EQ(table.pick(c.position, c.type, recorder, false), c.name) << c.position << " type " << int(c.type);
        EXPECT_TRUE(recorder.log.empty());
    }
}

TEST(ResourceTableTest, RandomBandsShiftTheOreTier) {
    ResourceTable table = sampleTable();
    struct Case {
        float position;
        std::uint32_t output;
        const char* name;
    };
    const Case cases[] = {
        {3.5f, 0x00000000u, "ore1.5"},  // band -2
        {3.5f, 0x40000000u, "ore3"},    // band 0, the middle of the tier
        {3.5f, 0xFFFFFFFFu, "ore3"},    // band +2 clamps to the last tier
        {0.5f, 0x00000000u, "ore0b"},   // below tier 0 clamps to the first
        {1.05f, 0x00000000u, "ore0b"},  // at a tier's start the band below is likeliest
    };
    for (const Case& c : cases) {
        RandomizerAdapter<Randomizer> random = nextOutput(c.output);
        EXPECT_EQ(table.pick(c.position, ResourceType::Ore, random, true), c.name) << c.position << " " << std::hex
                                                                                  << c.output;
    }
}

TEST(ResourceTableTest, EmptyListsGiveTheEmptyName) {
    ResourceTable table({resource("egg", ResourceType::Egg, 1.0f)});
    RandomizerAdapter<Randomizer> random(1, 2);
    EXPECT_EQ(table.pick(1.0f, ResourceType::Ore, random, true), "");
    EXPECT_EQ(table.pick(1.0f, ResourceType::Gem, random, true), "");
    // Positions beyond any tier, and no number at all, still name a tier of the table.
    ResourceTable sample = sampleTable();
    const std::vector<std::string> tiers = sample.ores();
    for (float position : {1e30f, -1e30f, std::numeric_limits<float>::quiet_NaN()}) {
        const std::string& name = sample.pick(position, ResourceType::Ore, random, true);
        EXPECT_NE(std::find(tiers.begin(), tiers.end(), name), tiers.end()) << position;
    }
}

} // namespace
} // namespace zor
