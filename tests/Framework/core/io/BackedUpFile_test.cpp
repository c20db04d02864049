#include "Framework/core/io/BackedUpFile.h"
#include "Framework/core/io/Files.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace zor {
namespace {

// The reader of these tests takes a file whose text begins with "good", and remembers it.
struct GoodReader {
    std::string taken;
    FileReader reader() {
        return [this](const ByteArray& data, std::size_t size) {
            const std::string text(reinterpret_cast<const char*>(data.get()), size);
            if (text.rfind("good", 0) != 0) return false;
            taken = text;
            return true;
        };
    }
};

using Files = std::map<std::string, std::string>;

// Every file of the folder with its text.
Files filesIn(const test::TempFolder& folder) {
    Files found;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        found[entry.path().filename().string()] = folder.read(entry.path().filename().string());
    return found;
}

class BackedUpFileTest : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem("BundlePC"); }
    void TearDown() override { initFileSystem("BundlePC"); }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    test::LogCapture log;
};

TEST_F(BackedUpFileTest, LoadingTakesTheFileOrItsBackupAndMovesRefusedOnesAside) {
    struct Case {
        const char* what;
        Files before;
        BackedUpLoad::Source source;
        std::string taken;
        bool lost;
        Files after;
    };
    const Case cases[] = {
        {"nothing there", {}, BackedUpLoad::None, "", false, {}},
        {"the file", {{"a.sav", "good 2"}, {"a.sav.backup", "good 1"}}, BackedUpLoad::Main, "good 2", false,
         {{"a.sav", "good 2"}, {"a.sav.backup", "good 1"}}},
        {"a damaged backup is not looked at while the file reads",
         {{"a.sav", "good 2"}, {"a.sav.backup", "bad"}}, BackedUpLoad::Main, "good 2", false,
         {{"a.sav", "good 2"}, {"a.sav.backup", "bad"}}},
        {"no file: the backup", {{"a.sav.backup", "good 1"}}, BackedUpLoad::Backup, "good 1", false,
         {{"a.sav.backup", "good 1"}}},
        {"a damaged file: aside, then the backup", {{"a.sav", "bad"}, {"a.sav.backup", "good 1"}},
         BackedUpLoad::Backup, "good 1", false, {{"a.sav.corrupt-1", "bad"}, {"a.sav.backup", "good 1"}}},
        {"an empty file is damaged", {{"a.sav", ""}, {"a.sav.backup", "good 1"}}, BackedUpLoad::Backup, "good 1", false,
         {{"a.sav.corrupt-1", ""}, {"a.sav.backup", "good 1"}}},
        {"both damaged: both aside, lost", {{"a.sav", "bad 2"}, {"a.sav.backup", "bad 1"}}, BackedUpLoad::None, "", true,
         {{"a.sav.corrupt-1", "bad 2"}, {"a.sav.backup.corrupt-1", "bad 1"}}},
        {"only a damaged backup: lost", {{"a.sav.backup", "bad 1"}}, BackedUpLoad::None, "", true,
         {{"a.sav.backup.corrupt-1", "bad 1"}}},
        {"earlier moved files stay; the first free number is taken",
         {{"a.sav", "bad 3"}, {"a.sav.corrupt-1", "bad 1"}, {"a.sav.corrupt-3", "bad 2"}}, BackedUpLoad::None, "", true,
         {{"a.sav.corrupt-1", "bad 1"}, {"a.sav.corrupt-2", "bad 3"}, {"a.sav.corrupt-3", "bad 2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        test::ScopedEnv dir("ZOR_USER_DIR", folder.path().string());
        initFileSystem("BundlePC");
        for (const auto& [name, text] : c.before) folder.write(name, text);
        GoodReader read;
        const BackedUpLoad load = loadBackedUpFile("a.sav", read.reader());
        EXPECT_EQ(load.source, c.source);
        EXPECT_EQ(read.taken, c.taken);
        EXPECT_EQ(load.lost(), c.lost);
        EXPECT_EQ(filesIn(folder), c.after);
    }
}

TEST_F(BackedUpFileTest, EveryMoveAsideIsLoggedWithBothNames) {
    user.write("a.sav", "bad");
    GoodReader read;
    loadBackedUpFile("a.sav", read.reader());
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find((user / "a.sav").string()), std::string::npos) << log.warnings[0];
    EXPECT_NE(log.warnings[0].find("a.sav.corrupt-1"), std::string::npos) << log.warnings[0];
}

TEST_F(BackedUpFileTest, WritingRotatesTheBackupOnlyFromAReadableFile) {
    struct Case {
        const char* what;
        Files before;
        Files after;
    };
    const Case cases[] = {
        {"first write", {}, {{"a.sav", "good new"}}},
        {"a readable file becomes the backup", {{"a.sav", "good old"}, {"a.sav.backup", "good older"}},
         {{"a.sav", "good new"}, {"a.sav.backup", "good old"}}},
        {"a damaged file goes aside and the backup stays", {{"a.sav", "bad"}, {"a.sav.backup", "good older"}},
         {{"a.sav", "good new"}, {"a.sav.backup", "good older"}, {"a.sav.corrupt-1", "bad"}}},
        {"a damaged file without a backup makes none", {{"a.sav", "bad"}, {"a.sav.corrupt-1", "worse"}},
         {{"a.sav", "good new"}, {"a.sav.corrupt-1", "worse"}, {"a.sav.corrupt-2", "bad"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        test::ScopedEnv dir("ZOR_USER_DIR", folder.path().string());
        initFileSystem("BundlePC");
        for (const auto& [name, text] : c.before) folder.write(name, text);
        GoodReader read;
        const std::string text = "good new";
        EXPECT_TRUE(writeBackedUpFile("a.sav", text.data(), text.size(), read.reader()));
        EXPECT_EQ(filesIn(folder), c.after);
    }
}

TEST_F(BackedUpFileTest, AFailedWriteReportsTheCauseAndKeepsTheFiles) {
    user.write("saves", "a file where the folder should be");
    GoodReader read;
    std::string error;
    EXPECT_FALSE(writeBackedUpFile("saves/a.sav", "good", 4, read.reader(), &error));
    EXPECT_NE(error.find("saves"), std::string::npos) << error;
    EXPECT_EQ(filesIn(user), (Files{{"saves", "a file where the folder should be"}}));
}

TEST_F(BackedUpFileTest, AFileThatCannotBeMovedAsideIsLoggedAndNamesNothing) {
    EXPECT_EQ(moveAsideAsCorrupt("missing.sav"), "");
    EXPECT_TRUE(filesIn(user).empty());
    EXPECT_EQ(log.warnings.size(), 1u);
}

} // namespace
} // namespace zor
