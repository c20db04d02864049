#include "game/definitions/UpgradeDefinition.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/upgrades.xml";

std::unique_ptr<DefinitionRegistry<UpgradeDefinition>> upgrades(const std::string& definitions) {
    return test::loadDefinitions(upgradeRegistry(), kFile, definitions);
}

std::vector<std::string> titles(const UpgradeDefinition& upgrade) {
    std::vector<std::string> result;
    for (const auto& tier : upgrade.tiers)
        result.push_back(tier.title);
    return result;
}

TEST(UpgradeDefinition, KeysDefaultsAndTiers) {
    const auto registry = upgrades(R"(
        <Upgrade><Name>bare</Name></Upgrade>
        <Upgrade><Name>drill_2</Name><BannerHeaderId>banner</BannerHeaderId><IconSprite>icon</IconSprite>
          <Consumable>1</Consumable><StartWith>3</StartWith><LevelRequired>4</LevelRequired>
          <UnhiddenBy Name="drill_1" Tier="1"/><UnlockedBy Name="drill_1" Tier="2"/><TitleStringId>up_drill</TitleStringId>
          <Tiers>
            <Tier Desc="d1" CostGold="400" CostOrbs="3"/>
            <Tier Title="own" Desc="d2" CostGold="900" CostOrbs="8" Value="2.5" IconSprite="tier_icon"/>
            <Other Desc="ignored"/>
          </Tiers></Upgrade>)");
    const UpgradeDefinition& bare = registry->get("bare");
    EXPECT_EQ(bare.bannerHeaderId, "");
    EXPECT_EQ(bare.iconSprite, "");
    EXPECT_FALSE(bare.consumable);
    EXPECT_EQ(bare.startWith, 0);
    EXPECT_EQ(bare.unhiddenByUpgrade, "");
    EXPECT_EQ(bare.unhiddenByTier, 0);
    EXPECT_EQ(bare.unlockedByUpgrade, "");
    EXPECT_EQ(bare.unlockedByTier, 0);
    EXPECT_EQ(bare.levelRequired, 1);
    // Never without a tier; the limit follows the tier count.
    ASSERT_EQ(bare.tiers.size(), 1u);
    EXPECT_EQ(bare.tiers[0].title, "");
    EXPECT_EQ(bare.tiers[0].goldCost, 0);
    EXPECT_EQ(bare.limit, 1);

    const UpgradeDefinition& drill = registry->get("drill_2");
    EXPECT_EQ(drill.bannerHeaderId, "banner");
    EXPECT_EQ(drill.iconSprite, "icon");
    EXPECT_TRUE(drill.consumable);
    EXPECT_EQ(drill.startWith, 3);
    EXPECT_EQ(drill.levelRequired, 4);
    EXPECT_EQ(drill.unhiddenByUpgrade, "drill_1");
    EXPECT_EQ(drill.unhiddenByTier, 1);
    EXPECT_EQ(drill.unlockedByUpgrade, "drill_1");
    EXPECT_EQ(drill.unlockedByTier, 2);
    EXPECT_EQ(titles(drill), (std::vector<std::string>{"up_drill", "own"}));
    EXPECT_EQ(drill.tiers[0].description, "d1");
    EXPECT_EQ(drill.tiers[0].goldCost, 400);
    EXPECT_EQ(drill.tiers[0].orbCost, 3);
    EXPECT_EQ(drill.tiers[0].value, 0.0f);
    EXPECT_EQ(drill.tiers[0].iconSprite, "");
    EXPECT_EQ(drill.tiers[1].value, 2.5f);
    EXPECT_EQ(drill.tiers[1].iconSprite, "tier_icon");
    EXPECT_EQ(drill.limit, 2);
}

TEST(UpgradeDefinition, TiersOfTemplatesAndLimits) {
    const std::string three = R"(<Tiers><Tier Desc="a" CostGold="1" CostOrbs="0"/><Tier Desc="b" CostGold="2" CostOrbs="0"/>
        <Tier Desc="c" CostGold="3" CostOrbs="0"/></Tiers>)";
    const auto registry = upgrades(R"(<Upgrade><Name>three</Name><TitleStringId>t</TitleStringId>)" + three +
                                   R"(</Upgrade>
        <Upgrade><Name>kept</Name><Template>three</Template></Upgrade>
        <Upgrade><Name>emptied</Name><Template>three</Template><TitleStringId>mine</TitleStringId><Tiers/></Upgrade>
        <Upgrade><Name>limited</Name><Limit>1</Limit>)" + three + R"(</Upgrade>)");
    EXPECT_EQ(registry->get("three").limit, 3);
    EXPECT_EQ(registry->get("kept").tiers.size(), 3u);
    EXPECT_EQ(registry->get("kept").tiers[2].description, "c");
    // An empty "Tiers" drops the inherited tiers; the one tier left is titled by the
    // definition's TitleStringId. The inherited limit stays.
    EXPECT_EQ(titles(registry->get("emptied")), std::vector<std::string>{"mine"});
    EXPECT_EQ(registry->get("emptied").limit, 3);
    EXPECT_EQ(registry->get("limited").limit, 1);

    const UpgradeDefinition& upgrade = registry->get("three");
    const struct {
        int level;
        const char* description;
    } cases[] = {{0, "a"}, {1, "a"}, {2, "b"}, {3, "c"}, {9, "c"}, {-5, "a"}, {2147483647, "c"}, {-2147483647 - 1, "a"}};
    for (const auto& c : cases)
        EXPECT_EQ(upgrade.tier(c.level).description, c.description) << c.level;
}

TEST(UpgradeDefinition, RequiredKeys) {
    const struct {
        const char* upgrade;
        const char* reason;
    } cases[] = {
        {"<Upgrade><Name>u</Name><Tiers><Tier CostGold=\"1\" CostOrbs=\"1\"/></Tiers></Upgrade>",
         "Missing attribute: /UpgradeDefinitions/Upgrade/Tiers/Tier/@Desc"},
        {"<Upgrade><Name>u</Name><Tiers><Tier Desc=\"d\" CostOrbs=\"1\"/></Tiers></Upgrade>",
         "Missing attribute: /UpgradeDefinitions/Upgrade/Tiers/Tier/@CostGold"},
        {"<Upgrade><Name>u</Name><Tiers><Tier Desc=\"d\" CostGold=\"1\"/></Tiers></Upgrade>",
         "Missing attribute: /UpgradeDefinitions/Upgrade/Tiers/Tier/@CostOrbs"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::loadFailure(upgradeRegistry(), kFile, c.upgrade),
                  test::definitionFailure("UpgradeDefinitions", "Upgrade", "u", kFile, c.reason))
            << c.upgrade;
    // Without its Name the definition has no name for the registry either.
    EXPECT_EQ(test::loadFailure(upgradeRegistry(), kFile, "<Upgrade><Limit>2</Limit></Upgrade>"),
              "Could not load UpgradeDefinitions from file 'Definitions/upgrades.xml', reason: Definition 0 missing name");
    EXPECT_EQ(findUpgradeDefinitionOrNull("no_such_upgrade"), nullptr);
    EXPECT_THROW(findUpgradeDefinition("no_such_upgrade"), CheckReleaseError);
}

} // namespace
} // namespace zor
