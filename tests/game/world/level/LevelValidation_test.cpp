// What a level description must satisfy before it is generated.

#include <string>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "tests/support/world/LevelFixtures.h"

namespace zor {
namespace {

const char* const kSets = R"(
  <PatchSet Name="plain">
    <Patch Name="plain" Width="2" Height="2" Count="1" Weight="0"><Layer Scale="1">##
##</Layer><Layer Scale="1">bb
bb</Layer></Patch>
  </PatchSet>
  <PatchSet Name="coarse">
    <Patch Name="coarse" Width="2" Height="2" Count="1" Weight="0"><Layer Scale="1">##
##</Layer><Layer Scale="2">b</Layer></Patch>
  </PatchSet>
  <PatchSet Name="dealt">
    <Patch Name="dealt" Width="1" Height="1" Deck="cards"><Layer Scale="1">#</Layer></Patch>
  </PatchSet>
)";

std::string describe(const std::string& slices, const std::string& more = "") {
    return test::levelDescription(more + "<Slices>" + slices + "</Slices>");
}

std::string slice(const std::string& inner, const std::string& attributes = "Width=\"8\" Height=\"6\"",
                  const std::string& sets = "plain") {
    return "<Slice " + attributes + "><PatchSets>" + sets + "</PatchSets>" + inner + "</Slice>";
}

std::string fields(const std::string& field) { return "<Fillers><Fields>" + field + "</Fields></Fillers>"; }

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

TEST(LevelValidationTest, RefusedDescriptionsNameTheReason) {
    const test::LevelFixture fixture({kSets});
    struct Case {
        std::string description;
        std::string reason;
    };
    const std::string big = "Width=\"1025\" Height=\"4\"";
    const Case cases[] = {
        {describe(slice("", "Width=\"0\" Height=\"0\"", "plain coarse")), "the level's width in tiles is 0, not within 1 to 1024"},
        {describe(slice("", big)), "the level's width in tiles is 1025, not within 1 to 1024"},
        {describe(slice("", "Width=\"4\" Height=\"600\"") + slice("", "Width=\"4\" Height=\"600\"")),
         "the level's height in tiles is 1200, not within 1 to 1024"},
        {describe(slice("", "Width=\"4\" Height=\"-2\"") + slice("", "Width=\"4\" Height=\"6\"")),
         "the height of slice 1 is -2, not within 0 to 1024"},
        {describe(slice("", "Width=\"8\" Height=\"6\"", "plain caves")),
         "slice 1 names the patch set 'caves', which the patch library does not hold"},
        {describe(slice("<Fillers><Midground>clay</Midground></Fillers>")),
         "the Midground of slice 1 names the tile set 'clay', which the patch library does not hold"},
        {describe(slice(fields("<F Tileset=\"clay\"/>"))),
         "field 1 of slice 1 names the tile set 'clay', which the patch library does not hold"},
        {describe(slice("") + slice("", "Width=\"8\" Height=\"6\" SmallEggs=\"2\"")),
         "slice 2 names the resource 'egg_small', which is not defined"},
        {describe(slice("", "Width=\"8\" Height=\"6\"", "plain dealt")),
         "the patch 'dealt' of set 'dealt' draws from the deck 'cards', which the level does not have"},
        {describe(slice(""), "<PatchDecks><Deck Name=\"cards\" Positives=\"0\" Negatives=\"0\"/></PatchDecks>"),
         "the deck 'cards' has no cards"},
        {describe(slice(""), "<PatchDecks><Deck Name=\"cards\" Positives=\"-1\" Negatives=\"3\"/></PatchDecks>"),
         "Positives of the deck 'cards' is -1, not within 0 to 65535"},
        {describe(slice("", "Width=\"8\" Height=\"6\"", "plain coarse")),
         "the patches 'plain' of set 'plain' and 'coarse' of set 'coarse' disagree on the scale of tile layer 1 (1 and 2)"},
        {describe(slice(fields("<F Style=\"rect\" NumberOfFields=\"5000\"/>"))),
         "NumberOfFields of field 1 of slice 1 is 5000, not within 0 to 1024"},
        {describe(slice(fields("<F Octaves=\"17\"/>"))), "Octaves of field 1 of slice 1 is 17, not within 0 to 16"},
        {describe(slice(fields(repeated("<F/>", 9)))), "the number of fields of slice 1 is 9, not within 0 to 8"},
        {describe(slice(fields("<A/><F MinSizeX=\"4\" MaxSizeX=\"3\"/>"))),
         "MaxSizeX of field 2 of slice 1 is 3, not within 4 to 1024"},
        {describe(slice(fields("<F Radius=\"2000\"/>"))), "Radius of field 1 of slice 1 is 2000, not within 0 to 1024"},
        {describe(slice(fields("<F Freq=\"inf\"/>"))), "Freq of field 1 of slice 1 is not a number"},
        {describe(slice("<Fillers><Spacing>-1</Spacing></Fillers>")), "the Spacing of slice 1 is -1, not within 0 to 1024"},
        {describe(slice("", "Width=\"8\" Height=\"6\" Gems=\"4097\"")),
         "the count of 'gem+0' in slice 1 is 4097, not within 0 to 4096"},
        {describe(slice("<Fillers><BorderWidth>4000</BorderWidth></Fillers>")),
         "the BorderWidth of slice 1 is 4000, not within 0 to 1024"},
        {describe(slice(""), "<ResourceTierLength>0</ResourceTierLength>"), "ResourceTierLength is 0"},
        {describe(slice(""), "<ResourceTierBias>nan</ResourceTierBias>"), "ResourceTierBias is not a number"},
    };
    const test::LevelFixture withoutEggs({kSets}, R"(<Resource><Name>copper</Name></Resource>
        <Resource><Name>tin</Name></Resource><Resource><Name>glint</Name></Resource>
        <Resource><Name>gem+0</Name></Resource><Resource><Name>crate</Name></Resource>)");
    for (const Case& c : cases) {
        const test::LevelFixture& used = c.reason.find("egg_small") != std::string::npos ? withoutEggs : fixture;
        try {
            used.build(c.description);
            ADD_FAILURE() << "accepted: " << c.reason;
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), "Could not load level fixture: " + c.reason);
        }
    }
}

TEST(LevelValidationTest, DescriptionsWithinTheLimitsBuild) {
    const test::LevelFixture fixture({kSets});
    const std::string edges[] = {
        describe(slice("", "Width=\"1024\" Height=\"2\"")),
        describe(slice(fields("<F Style=\"rect\" NumberOfFields=\"1024\" MinSizeX=\"0\" MaxSizeX=\"1024\" Octaves=\"16\" "
                              "Radius=\"1024\" Gap=\"-1024\"/>"))),
        describe(slice("", "Width=\"8\" Height=\"6\"", "plain dealt"),
                 "<PatchDecks><Deck Name=\"cards\" Positives=\"0\" Negatives=\"1\"/></PatchDecks>"),
        describe(slice("<Fillers><BorderWidth>1024</BorderWidth><Borders>bedrock</Borders></Fillers>")),
        describe(slice(fields(repeated("<F Octaves=\"16\"/>", 8)))),
    };
    for (const std::string& description : edges) EXPECT_NO_THROW(fixture.build(description)) << description;
}

} // namespace
} // namespace zor
