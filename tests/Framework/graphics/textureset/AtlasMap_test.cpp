#include "Framework/graphics/textureset/AtlasMap.h"

#include "Framework/core/Errors.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

struct GoodLine {
    const char* line;
    const char* name;
    fpRect rect;
};

TEST(AtlasMap, ReadsNamesAndNumbersAsWritten) {
    const GoodLine cases[] = {
        {"button = 10 20 30 40", "button", {10, 20, 30, 40}},
        // The name is the text before "=" less one character, the blank that is written there.
        {"button= 10 20 30 40", "butto", {10, 20, 30, 40}},
        {"big sign = 1 2 3 4", "big sign", {1, 2, 3, 4}},
        {"a =   1  2\t3 4", "a", {1, 2, 3, 4}},
        // Signs are read; a number ends at its first other character.
        {"a = -5 +6 7px 8;", "a", {-5, 6, 7, 8}},
        // Numbers beyond 32 bits saturate instead of overflowing.
        {"a = 99999999999 -99999999999 0 0", "a", {2147483647.0f, -2147483648.0f, 0, 0}},
    };
    for (const GoodLine& c : cases) {
        SCOPED_TRACE(c.line);
        const std::vector<AtlasMapEntry> entries = parseAtlasMap({c.line}, "page0.map", 1.0f);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, c.name);
        EXPECT_EQ(entries[0].rect, c.rect);
    }
}

TEST(AtlasMap, ScalesRectanglesToLayoutUnits) {
    const float third = 1.0f / 3.0f;
    const std::vector<AtlasMapEntry> entries = parseAtlasMap({"button = 10 20 30 40"}, "page0.map", third);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].rect, fpRect(10 * third, 20 * third, 30 * third, 40 * third));
    EXPECT_NEAR(entries[0].rect.x, 3.33f, 0.01f);
    EXPECT_NEAR(entries[0].rect.h, 13.33f, 0.01f);
}

TEST(AtlasMap, SkipsBlankLinesAndKeepsOrder) {
    const std::vector<AtlasMapEntry> entries =
        parseAtlasMap({"", "one = 1 1 1 1", "   ", "two = 2 2 2 2", ""}, "page0.map", 1.0f);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "one");
    EXPECT_EQ(entries[1].name, "two");
}

struct BadLine {
    const char* line;
    const char* reason;
};

TEST(AtlasMap, RejectsMalformedLinesNamingFileAndLine) {
    const BadLine cases[] = {
        {"button 10 20 30 40", "no '='"},
        {"= 10 20 30 40", "no name"},
        {"button = 10 20 30", "fewer than four numbers"},
        {"button = 10 20 30 wide", "fewer than four numbers"},
        {"button = 10 20 30 -", "fewer than four numbers"},
        {"button =", "fewer than four numbers"},
        {"button = 10 20 30 40", nullptr},  // control: the same place holds a good line
    };
    for (const BadLine& c : cases) {
        SCOPED_TRACE(c.line);
        const std::vector<std::string> lines = {"first = 0 0 1 1", "", c.line};
        if (!c.reason) {
            EXPECT_EQ(parseAtlasMap(lines, "Sprites/ui/page0.map", 1.0f).size(), 2u);
            continue;
        }
        try {
            parseAtlasMap(lines, "Sprites/ui/page0.map", 1.0f);
            ADD_FAILURE() << "accepted";
        } catch (const CheckReleaseError& error) {
            const std::string text = error.what();
            EXPECT_NE(text.find("line 3 "), std::string::npos) << text;
            EXPECT_NE(text.find("Sprites/ui/page0.map"), std::string::npos) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        }
    }
}

} // namespace
} // namespace zor
