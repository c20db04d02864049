#include "game/definitions/ExperienceDefinition.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/experience.xml";

std::vector<int> thresholds(const ExperienceDefinition& table) {
    std::vector<int> result;
    for (const auto& level : table.levels)
        result.push_back(level.threshold);
    return result;
}

TEST(ExperienceDefinition, LevelsAndSpecialUnlocks) {
    const auto registry = test::loadDefinitions(experienceRegistry(), kFile, R"(
        <Levels><Name>AllLevels</Name><Exp>0, 100 ,,250,  600</Exp>
          <SpecialUnlocks>
            <Unlock><Level>2</Level><Name>unlock_run</Name><CameraTarget>320;180</CameraTarget><UpgradeName>enable_run</UpgradeName></Unlock>
            <AnyName><Level>0</Level><Name>first</Name><CameraTarget>1;2</CameraTarget><UpgradeName>u0</UpgradeName></AnyName>
          </SpecialUnlocks></Levels>
        <Levels><Name>more</Name><Template>AllLevels</Template><Exp>900</Exp>
          <SpecialUnlocks><U><Level>4</Level><Name>last</Name><CameraTarget>0;0</CameraTarget><UpgradeName>u4</UpgradeName></U></SpecialUnlocks></Levels>)");
    const ExperienceDefinition& all = registry->get("AllLevels");
    EXPECT_EQ(thresholds(all), (std::vector<int>{0, 100, 250, 600}));
    ASSERT_EQ(all.levels.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(all.levels[static_cast<std::size_t>(i)].index, i);
    EXPECT_EQ(all.levels[2].name, "unlock_run");
    EXPECT_EQ(all.levels[2].cameraTarget, fpVector2(320, 180));
    EXPECT_EQ(all.levels[2].upgradeName, "enable_run");
    EXPECT_EQ(all.levels[0].name, "first");
    EXPECT_EQ(all.levels[1].name, "");
    EXPECT_EQ(all.levels[1].upgradeName, "");
    EXPECT_EQ(all.levels[3].cameraTarget, fpVector2(0, 0));

    // Appended after the template's levels; the index counts this definition's own levels,
    // an unlock's Level the position in the whole list.
    const ExperienceDefinition& more = registry->get("more");
    EXPECT_EQ(thresholds(more), (std::vector<int>{0, 100, 250, 600, 900}));
    EXPECT_EQ(more.levels[4].index, 0);
    EXPECT_EQ(more.levels[4].name, "last");
    EXPECT_EQ(more.levels[2].name, "unlock_run");
    EXPECT_EQ(findExperienceDefinition("no_such_table"), nullptr);
}

TEST(ExperienceDefinition, RejectedTables) {
    const std::string unlock = "<CameraTarget>0;0</CameraTarget><Name>n</Name><UpgradeName>u</UpgradeName>";
    const struct {
        std::string keys;
        std::string reason;
    } cases[] = {
        {"", "No such node (Exp)"},
        {"<Exp>0,1.5</Exp>", "bad lexical cast: source type value could not be interpreted as target"},
        {"<Exp>0, ,5</Exp>", "bad lexical cast: source type value could not be interpreted as target"},
        {"<Exp>0,10</Exp><SpecialUnlocks><U><Name>n</Name><CameraTarget>0;0</CameraTarget><UpgradeName>u</UpgradeName>"
         "</U></SpecialUnlocks>",
         "No such node (Level)"},
        {"<Exp>0,10</Exp><SpecialUnlocks><U><Level>1</Level><Name>n</Name><UpgradeName>u</UpgradeName></U>"
         "</SpecialUnlocks>",
         "No such node (CameraTarget)"},
        // A level outside the table has no entry to write into.
        {"<Exp>0,10,20</Exp><SpecialUnlocks><U><Level>3</Level>" + unlock + "</U></SpecialUnlocks>",
         "Special unlock 'n' names level 3, which the table does not have (it has 3 levels, counted from 0)"},
        {"<Exp>0,10,20</Exp><SpecialUnlocks><U><Level>-1</Level>" + unlock + "</U></SpecialUnlocks>",
         "Special unlock 'n' names level -1, which the table does not have (it has 3 levels, counted from 0)"},
        {"<Exp></Exp><SpecialUnlocks><U><Level>0</Level>" + unlock + "</U></SpecialUnlocks>",
         "Special unlock 'n' names level 0, which the table does not have (it has 0 levels, counted from 0)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::loadFailure(experienceRegistry(), kFile, "<Levels><Name>bad</Name>" + c.keys + "</Levels>"),
                  test::definitionFailure("ExperienceDefinitions", "Levels", "bad", kFile, c.reason))
            << c.keys;
}

} // namespace
} // namespace zor
