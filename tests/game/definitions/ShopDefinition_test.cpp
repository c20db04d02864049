#include "game/definitions/ShopDefinition.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/shops.xml";
using Groups = std::vector<std::vector<std::string>>;

TEST(ShopDefinition, UpgradeGroups) {
    const struct {
        const char* text;
        Groups groups;
    } cases[] = {
        {"drill_1,drill_2;armor_1", {{"drill_1", "drill_2"}, {"armor_1"}}},
        {"", {}},
        {";;a,,b;", {{"a", "b"}}},
        // A blank ends a group as ";" does, and never stays inside a name.
        {"a, b;c", {{"a"}, {"b"}, {"c"}}},
        {" a,b\n\tc ", {{"a", "b"}, {"c"}}},
    };
    for (const auto& c : cases) {
        const auto registry = test::loadDefinitions(
            shopRegistry(), kFile, std::string("<Shop><Name>s</Name><Upgrades>") + c.text + "</Upgrades></Shop>");
        EXPECT_EQ(registry->get("s").upgradeGroups, c.groups) << '"' << c.text << '"';
    }
}

TEST(ShopDefinition, OptionalKeysAndTemplate) {
    const auto registry = test::loadDefinitions(shopRegistry(), kFile, R"(
        <Shop><Name>bare</Name><Upgrades/></Shop>
        <Shop><Name>forge</Name><RestockLight>true</RestockLight><RestockHealth>1</RestockHealth>
          <Character>smith</Character><Upgrades>a;b</Upgrades></Shop>
        <Shop><Name>late</Name><Template>forge</Template><RestockLight>yes</RestockLight><RestockHealth>0</RestockHealth>
          <Upgrades>c</Upgrades></Shop>)");
    const ShopDefinition& bare = registry->get("bare");
    EXPECT_FALSE(bare.restockLight);
    EXPECT_FALSE(bare.restockHealth);
    EXPECT_EQ(bare.character, "");
    EXPECT_TRUE(bare.upgradeGroups.empty());
    const ShopDefinition& forge = registry->get("forge");
    EXPECT_TRUE(forge.restockLight);
    EXPECT_TRUE(forge.restockHealth);
    EXPECT_EQ(forge.character, "smith");
    const ShopDefinition& late = registry->get("late");
    EXPECT_TRUE(late.restockLight); // "yes" is no optional boolean: kept
    EXPECT_FALSE(late.restockHealth);
    EXPECT_EQ(late.character, "smith");
    EXPECT_EQ(late.upgradeGroups, (Groups{{"a"}, {"b"}, {"c"}})); // after the template's groups

    EXPECT_EQ(test::loadFailure(shopRegistry(), kFile, "<Shop><Name>empty</Name></Shop>"),
              test::definitionFailure("ShopDefinitions", "Shop", "empty", kFile, "No such node (Upgrades)"));
    EXPECT_EQ(findShopDefinition("no_such_shop"), nullptr);
}

} // namespace
} // namespace zor
