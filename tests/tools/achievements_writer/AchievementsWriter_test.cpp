#include "Framework/store/AchievementFile.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zor {
namespace {

// Runs the tool on a description written into a fresh folder.
class AchievementsWriterTest : public ::testing::Test {
protected:
    int run(const std::string& description) {
        folder.write("achievements.xml", description);
        const std::string command = std::string(ZOR_ACHIEVEMENTS_WRITER) + " '" + (folder / "achievements.xml").string() +
                                    "' '" + output().string() + "' 2> '" + (folder / "errors.txt").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::filesystem::path output() const { return folder / "Definitions" / "achievements.dat"; }
    std::string errors() const { return folder.read("errors.txt"); }

    test::TempFolder folder;
};

TEST_F(AchievementsWriterTest, DescriptionBecomesTheScrambledFileTheGameReads) {
    ASSERT_EQ(run("<?xml version=\"1.0\"?>\n<!-- comment -->\n<Achievements>\n"
                  "  <Counter Name=\"cntr_dig\" Mode=\"add\" StoreStat=\"true\"/>\n"
                  "  <Counter Name=\"depth.best\" Mode=\"maximum\"/>\n"
                  "  <Counter Name=\"cntr_set\" Mode=\"fixed\" StoreStat=\"false\"/>\n"
                  "  <Counter Name=\"cntr_plain\"/>\n"
                  "  <Achievement Name=\"ach_dig\" Counter=\"cntr_dig\" Threshold=\"100\"/>\n"
                  "  <Achievement Name=\"ach-low\" Counter=\"depth.best\" Threshold=\"-2147483648\"/>\n"
                  "</Achievements>\n"),
              0)
        << errors();
    const std::string bytes = folder.read("Definitions/achievements.dat");
    AchievementFile expected;
    expected.counters = {{"cntr_dig", 0, true}, {"depth.best", 1, false}, {"cntr_set", 2, false}, {"cntr_plain", 0, false}};
    expected.achievements = {{"ach_dig", "cntr_dig", 100}, {"ach-low", "depth.best", INT32_MIN}};
    EXPECT_EQ(decodeAchievementFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), expected);
}

struct BadDescriptionCase {
    const char* label;
    const char* body;
    const char* message;
};

TEST_F(AchievementsWriterTest, FaultyDescriptionsAreRefusedWithoutWritingAFile) {
#define ZOR_COUNTER_A "<Counter Name=\"cntr_a\"/>"
    const BadDescriptionCase cases[] = {
        {"unknown mode", "<Counter Name=\"cntr_a\" Mode=\"max\"/>", "unknown Mode 'max'"},
        {"store stat word", "<Counter Name=\"cntr_a\" StoreStat=\"yes\"/>", "StoreStat must be true or false"},
        {"missing name", "<Counter Mode=\"add\"/>", "has no Name"},
        {"blank in name", "<Counter Name=\"cntr a\"/>", "'cntr a' is not usable as an XML name"},
        {"digit first", "<Counter Name=\"9lives\"/>", "'9lives' is not usable as an XML name"},
        {"undeclared counter", "<Achievement Name=\"ach_a\" Counter=\"cntr_a\" Threshold=\"1\"/>",
         "counter 'cntr_a' is not declared before it"},
        {"threshold word", ZOR_COUNTER_A "<Achievement Name=\"ach_a\" Counter=\"cntr_a\" Threshold=\"ten\"/>",
         "Threshold must be a 32-bit integer, not 'ten'"},
        {"threshold too large",
         ZOR_COUNTER_A "<Achievement Name=\"ach_a\" Counter=\"cntr_a\" Threshold=\"2147483648\"/>",
         "Threshold must be a 32-bit integer"},
        {"no threshold", ZOR_COUNTER_A "<Achievement Name=\"ach_a\" Counter=\"cntr_a\"/>",
         "Threshold must be a 32-bit integer"},
        {"counter twice", ZOR_COUNTER_A ZOR_COUNTER_A, "counter 'cntr_a' declared twice"},
        {"achievement twice",
         ZOR_COUNTER_A "<Achievement Name=\"ach_a\" Counter=\"cntr_a\" Threshold=\"1\"/>"
                       "<Achievement Name=\"ach_a\" Counter=\"cntr_a\" Threshold=\"2\"/>",
         "achievement 'ach_a' declared twice"},
        {"other element", "<Stat Name=\"cntr_b\"/>", "<Stat> at byte"},
    };
#undef ZOR_COUNTER_A
    for (const BadDescriptionCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(run(std::string("<Achievements>") + c.body + "</Achievements>"), 1);
        EXPECT_NE(errors().find(c.message), std::string::npos) << errors();
        EXPECT_FALSE(std::filesystem::exists(output()));
    }
}

TEST_F(AchievementsWriterTest, UnreadableDescriptionsAndWrongUsageFail) {
    EXPECT_EQ(run("<Achievements><Counter Name=\"cntr_a\"/>"), 1);
    EXPECT_NE(errors().find("at byte"), std::string::npos) << errors();
    EXPECT_EQ(run("<Counters/>"), 1);
    EXPECT_NE(errors().find("the root element is not <Achievements>"), std::string::npos) << errors();
    EXPECT_FALSE(std::filesystem::exists(output()));

    const int status = std::system((std::string(ZOR_ACHIEVEMENTS_WRITER) + " only-one-argument 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

} // namespace
} // namespace zor
