// The level-link section: which levels are caves of which, and where their exits lead.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/world/PatchLibraryFixtures.h"
#include "tools/patch_compiler/compiler/PatchLibraryWriter.h"

namespace zor {
namespace {

LevelLinkEntry linkTo(const std::string& target, const std::string& item = "") { return {nullptr, target, item}; }

std::shared_ptr<PatchLibraryTables> read(std::vector<LibraryFile::LevelRecord> levels) {
    LibraryFile file;
    file.levels = std::move(levels);
    return test::readLibrary(writePatchLibrary(file));
}

std::vector<std::string> targetsOf(const LevelLink& level) {
    std::vector<std::string> targets;
    for (const LevelLinkEntry& link : level.links) targets.push_back(link.targetName);
    return targets;
}

TEST(LevelLinkSection, NoRecordsGiveAnEmptyTable) {
    const auto tables = read({});
    EXPECT_TRUE(tables->levelLinks.empty());
    EXPECT_EQ(tables->findLevelLink("town"), nullptr);
}

TEST(LevelLinkSection, TheSubLevelByteIsSigned) {
    const struct {
        std::uint8_t byte;
        bool subLevel;
    } cases[] = {{1, true}, {0x7F, true}, {0, false}, {0x80, false}, {0xFF, false}};
    for (const auto& c : cases) {
        const auto tables = read({{"cave", c.byte, {}}});
        ASSERT_NE(tables->findLevelLink("cave"), nullptr);
        EXPECT_EQ(tables->findLevelLink("cave")->subLevel, c.subLevel) << int(c.byte);
    }
}

TEST(LevelLinkSection, LinksResolveToTheirRecords) {
    const auto tables = read({
        {"town", 0, {linkTo("mine")}},
        {"mine", 0, {linkTo("town"), linkTo("cave", "drill_1"), linkTo("nowhere"), linkTo("mine")}},
        {"cave", 1, {linkTo("mine")}},
    });
    const LevelLink* mine = tables->findLevelLink("mine");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->name, "mine");
    EXPECT_EQ(targetsOf(*mine), (std::vector<std::string>{"town", "cave", "nowhere", "mine"}));
    EXPECT_EQ(mine->links[0].target, tables->findLevelLink("town"));
    EXPECT_EQ(mine->links[1].target, tables->findLevelLink("cave"));
    EXPECT_EQ(mine->links[1].requiredItem, "drill_1");
    EXPECT_EQ(mine->links[2].target, nullptr);  // no record of its own; the name stays
    EXPECT_EQ(mine->links[3].target, mine);
    EXPECT_TRUE(tables->findLevelLink("cave")->subLevel);

    // Iteration follows the order in which names first appear.
    std::vector<std::string> names;
    for (const LevelLink& level : tables->levelLinks) names.push_back(level.name);
    EXPECT_EQ(names, (std::vector<std::string>{"town", "mine", "cave"}));
}

TEST(LevelLinkSection, ALaterRecordOfANameReplacesTheEarlierOne) {
    const auto tables = read({
        {"mine", 1, {linkTo("town")}},
        {"town", 0, {}},
        {"mine", 0, {linkTo("cave"), linkTo("town"), linkTo("deep")}},
    });
    EXPECT_EQ(tables->levelLinks.size(), 2u);
    const LevelLink* mine = tables->findLevelLink("mine");
    EXPECT_FALSE(mine->subLevel);
    EXPECT_EQ(targetsOf(*mine), (std::vector<std::string>{"cave", "town", "deep"}));
    EXPECT_EQ(mine->links[1].target, tables->findLevelLink("town"));
}

TEST(LevelLinkSection, GetOrCreateMakesAnEmptyRootLevelOnce) {
    LevelLinkTable table;
    LevelLink& made = table.getOrCreate("cave");
    EXPECT_EQ(made.name, "cave");
    EXPECT_FALSE(made.subLevel);
    EXPECT_TRUE(made.links.empty());
    made.subLevel = true;
    EXPECT_EQ(&table.getOrCreate("cave"), &made);
    EXPECT_EQ(table.size(), 1u);
}

TEST(LevelLinkSection, TheLookUpKeepsItsLibraryAlive) {
    setPatchLibrary(read({{"town", 0, {linkTo("town")}}}));
    const std::shared_ptr<const LevelLink> town = findLevelLink("town");
    setPatchLibrary(std::make_shared<PatchLibraryTables>());
    ASSERT_NE(town, nullptr);
    EXPECT_EQ(town->links[0].target, town.get());
    EXPECT_EQ(findLevelLink("town"), nullptr);
}

} // namespace
} // namespace zor
