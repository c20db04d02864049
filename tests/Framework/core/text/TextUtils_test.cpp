#include "Framework/core/text/TextUtils.h"

#include "Framework/core/settings/SettingValue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace zor {
namespace {

using Lines = std::vector<std::string>;

struct PathCase {
    std::string input;
    std::string expected;
};

TEST(TextUtilsTest, JoinPathTrimsBlanksAndSlashes) {
    struct Case {
        std::string base, name, expected;
    };
    const Case cases[] = {
        {"data/", "/Levels/a.xml ", "data/Levels/a.xml"},
        {"", " x ", "x"},
        {"/root", "", "/root/"},
        {"/root/ /", "a", "/root/a"},
        {" ", "/a/b/", "a/b"},
        {"a", "b", "a/b"},
        {"", "", ""},
        {"///", " / ", ""},
        {"base\t", "n", "base\t/n"}, // only blanks and "/" are trimmed
    };
    for (const Case& c : cases) EXPECT_EQ(joinPath(c.base, c.name), c.expected) << c.base << " + " << c.name;
}

TEST(TextUtilsTest, PathParts) {
    const PathCase fileNames[] = {
        {"a/b.txt", "b.txt"}, {"a\\b.txt", "b.txt"}, {"a\\b/c", "c"}, {"plain", "plain"}, {"dir/", ""}, {"", ""},
    };
    for (const PathCase& c : fileNames) EXPECT_EQ(fileNameOf(c.input), c.expected) << c.input;

    const PathCase directories[] = {
        {"a\\b.txt", ""}, {"a/b/c.txt", "a/b/"}, {"x", ""}, {"/x", "/"}, {"a/b\\c", "a/"},
    };
    for (const PathCase& c : directories) EXPECT_EQ(directoryOf(c.input), c.expected) << c.input;

    const PathCase extensions[] = {
        {"dir.x/file", "x/file"}, {"a.b.c", "c"}, {"noext", ""}, {"file.", ""}, {".hidden", "hidden"},
    };
    for (const PathCase& c : extensions) EXPECT_EQ(extensionOf(c.input), c.expected) << c.input;

    const PathCase withoutExtension[] = {
        {"dir.x/file", "dir.x/file"}, {"dir.x\\file", "dir.x\\file"}, {"a.b.c", "a.b"},
        {"Fonts/big.fnt", "Fonts/big"}, {"file.", "file"}, {"noext", "noext"},
    };
    for (const PathCase& c : withoutExtension) EXPECT_EQ(removeExtension(c.input), c.expected) << c.input;

    EXPECT_EQ(toForwardSlashes("a\\b\\\\c/d"), "a/b//c/d");
}

TEST(TextUtilsTest, RelativePathClimbsOutOfTheBaseFolder) {
    struct Case {
        std::string path, base, expected;
    };
    const Case cases[] = {
        {"Sprites/a/b.png", "Sprites/set.txt", "a/b.png"},
        {"Fonts/x.png", "Sprites/set.txt", "../Fonts/x.png"},
        {"a/x", "a/b/c/file", "../../x"},
        {"a/f", "a/g", "f"},
        {"a/b", "file", "a/b"},
        {"ab/x", "a/file", "../ab/x"}, // components compare whole, not as prefixes
        {"a/b/", "a/b/c", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(relativePath(c.path, c.base), c.expected) << c.path << " from " << c.base;
}

TEST(TextUtilsTest, SplitLinesTreatsMixedPairsAsOneBreak) {
    struct Case {
        std::string text;
        Lines expected;
    };
    const Case cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\n", {"a", ""}},
        {"\r\n", {"", ""}},
        {"a\r\n\n", {"a", "", ""}},
        {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitLines(c.text), c.expected) << testing::PrintToString(c.text);
}

TEST(TextUtilsTest, IsTrueOnlyForTheWordInAnyCase) {
    const std::pair<std::string, bool> cases[] = {
        {"true", true}, {"True", true}, {"TRUE", true}, {"tRuE", true}, {"true ", false}, {" true", false},
        {"1", false},   {"", false},    {"tru", false}, {"yes", false}, {"tr\xd5" "e", false},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(isTrue(text), expected) << text;
}

TEST(TextUtilsTest, StartsWith) {
    EXPECT_TRUE(startsWith("abc", ""));
    EXPECT_TRUE(startsWith("", ""));
    EXPECT_TRUE(startsWith("abc", "ab"));
    EXPECT_TRUE(startsWith("abc", "abc"));
    EXPECT_FALSE(startsWith("ab", "abc"));
    EXPECT_FALSE(startsWith("abc", "b"));
}

TEST(TextUtilsTest, SplitTokensDropsEmptyPieces) {
    const struct {
        const char* text;
        Lines pieces;
    } cases[] = {
        {"a; b;c", {"a", "b", "c"}},
        {";;a;;", {"a"}},
        {"", {}},
        {" ;\t; ", {}},
        {"rock_a\n  rock_b", {"rock_a", "rock_b"}},
    };
    for (const auto& c : cases) {
        Lines pieces{"kept"};
        EXPECT_EQ(splitTokens(c.text, "; \t\n", pieces), c.pieces.size()) << c.text;
        Lines expected{"kept"};
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(pieces, expected) << c.text;
    }
}

// The texts of parsed values; every one must be a set string.
Lines textsOf(const std::vector<OptionalSettingValue>& values) {
    Lines texts;
    for (const OptionalSettingValue& v : values) {
        EXPECT_TRUE(v.isSet);
        const auto* text = std::get_if<std::string>(&v.value);
        EXPECT_NE(text, nullptr);
        texts.push_back(text ? *text : "<not a string>");
    }
    return texts;
}

TEST(TextUtilsTest, ParseOptionList) {
    struct Case {
        std::string name;
        Lines expected;
    };
    const Case cases[] = {
        {"Textures/glow[nonpremul].png", {"nonpremul"}},
        {"x[ a , b ]", {"a", "b"}},
        {"x[a,,b]", {"a", "b"}},
        {"x[,a,]", {"a"}},
        {"x[a, ,b]", {"a", "", "b"}},
        {"x[]", {}},
        {"x]a[", {}},
        {"x[a", {}},
        {"x[old][new,one]", {"new", "one"}},
        {"plain", {}},
    };
    for (const Case& c : cases) {
        std::vector<OptionalSettingValue> values{OptionalSettingValue(SettingValue(std::string("kept")))};
        EXPECT_EQ(parseOptionList(c.name, values), c.expected.size()) << c.name;
        Lines expected{"kept"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(textsOf(values), expected) << c.name;
    }
}

TEST(TextUtilsTest, ParseNameParametersCutsTheName) {
    struct Case {
        std::string name, base;
        Lines expected;
    };
    const Case cases[] = {
        {"base__8__loop", "base", {"8", "loop"}},
        {"a___b", "a", {"_b"}},
        {"a____b", "a", {"", "b"}},
        {"a__", "a", {""}},
        {"__x", "", {"x"}},
        {"single_under", "single_under", {}},
        {"", "", {}},
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        std::vector<OptionalSettingValue> values;
        EXPECT_EQ(parseNameParameters(name, values), c.expected.size()) << c.name;
        EXPECT_EQ(name, c.base) << c.name;
        EXPECT_EQ(textsOf(values), c.expected) << c.name;
    }
}

TEST(TextUtilsTest, SleepSecondsSleepsAtLeastTheRoundedTime) {
    using Clock = std::chrono::steady_clock;
    auto measure = [](double seconds) {
        const auto start = Clock::now();
        sleepSeconds(seconds);
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    EXPECT_GE(measure(0.0296), 0.0299); // 29.6 ms rounds up to 30 ms
    EXPECT_LT(measure(-1.0), 0.5);
    EXPECT_LT(measure(std::nan("")), 0.5);
    EXPECT_LT(measure(0.0004), 0.5); // rounds to no sleep at all
}

} // namespace
} // namespace zor
