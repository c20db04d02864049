#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zor {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class FilesTest : public testing::Test {
protected:
    FilesTest() : m_userEnv("ZOR_USER_DIR", (m_temp / "user").string()) {
        fs::create_directories(m_temp / "BundlePC");
        initFileSystem((m_temp / "BundlePC").string());
    }

    std::string userPath(const std::string& name) const { return (m_temp / "user" / name).string(); }
    std::string gameDataPath(const std::string& name) const { return (m_temp / "BundlePC" / name).string(); }
    void writeGameData(const std::string& name, const std::string& text) const { m_temp.write("BundlePC/" + name, text); }
    void writeUser(const std::string& name, const std::string& text) const { m_temp.write("user/" + name, text); }
    std::string readUser(const std::string& name) const { return m_temp.read("user/" + name); }
    Strings userFolderEntries() const {
        Strings names;
        for (const auto& entry : fs::directory_iterator(m_temp / "user")) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder m_temp;
    test::ScopedEnv m_userEnv;
};

std::string textOf(const ByteArray& buffer, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(buffer.get()), size);
}

TEST_F(FilesTest, RootsAndPaths) {
    EXPECT_TRUE(fs::is_directory(userPath("")));
    EXPECT_EQ(resolvePath("", FileLocation::User), userPath(""));
    EXPECT_EQ(resolvePath("/saves/slot1.dat ", FileLocation::User), userPath("saves/slot1.dat"));
    EXPECT_EQ(resolvePath("Levels/a.xml", FileLocation::GameData), gameDataPath("Levels/a.xml"));
    EXPECT_EQ(gamePath("Audio/files.lst"), gameDataPath("Audio/files.lst"));
    EXPECT_EQ(toBackslashes("a/b"), "a/b");
}

TEST_F(FilesTest, UserFolderComesFromTheDocumentsFolderWithoutOverride) {
    test::ScopedEnv noOverride("ZOR_USER_DIR", "");
    test::ScopedEnv documents("XDG_DOCUMENTS_DIR", (m_temp / "docs").string());
    initFileSystem("BundlePC");
    const fs::path expected = m_temp / "docs" / "My Games" / "Morrowdeep";
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_EQ(resolvePath("settings.xml", FileLocation::User), (expected / "settings.xml").string());
    EXPECT_EQ(gamePath("x"), "BundlePC/x");
}

TEST_F(FilesTest, ReadFileReplacesTheBuffer) {
    writeGameData("Definitions/data.bin", std::string("\x01\x00\x02", 3));
    ByteArray buffer;
    ASSERT_EQ(readFile(buffer, "Definitions/data.bin", FileLocation::GameData, true), 3u);
    EXPECT_EQ(textOf(buffer, 3), std::string("\x01\x00\x02", 3));

    writeUser("empty.txt", "");
    EXPECT_EQ(readFile(buffer, "empty.txt", FileLocation::User, true), 0u);
}

TEST_F(FilesTest, ReadFileOfAMissingFile) {
    ByteArray buffer(new std::uint8_t[1]{42});
    const ByteArray before = buffer;
    EXPECT_EQ(readFile(buffer, "missing.bin", FileLocation::GameData, false), 0u);
    EXPECT_EQ(buffer, before);

    try {
        readFile(buffer, "missing.bin", FileLocation::User, true);
        FAIL() << "no error for a required missing file";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not open file: " + userPath("missing.bin"));
    }
    EXPECT_EQ(buffer, before);
}

TEST_F(FilesTest, ReadFileRefusesWhatIsNoPlainFileOfSaneSize) {
    fs::create_directories(gameDataPath("folder"));
    ASSERT_EQ(::mkfifo(gameDataPath("pipe").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", gameDataPath("device"));
    {
        std::ofstream huge(gameDataPath("huge.bin"), std::ios::binary);
    }
    fs::resize_file(gameDataPath("huge.bin"), MaxReadFileSize + 1); // sparse: takes no disk space

    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"folder", "Not a regular file: "},
        {"pipe", "Not a regular file: "},
        {"device", "Not a regular file: "},
        {"huge.bin", "File too large: "},
    };
    for (const Case& c : cases) {
        for (bool required : {false, true}) {
            ByteArray buffer;
            try {
                readFile(buffer, c.name, FileLocation::GameData, required);
                ADD_FAILURE() << c.name << " was read";
            } catch (const CheckReleaseError& error) {
                EXPECT_EQ(std::string(error.what()).rfind(c.message + gameDataPath(c.name), 0), 0u) << error.what();
            }
            EXPECT_FALSE(buffer) << c.name;
        }
    }
}

TEST_F(FilesTest, ReadTextAndReadLines) {
    writeGameData("crlf.txt", "a\r\nb\r\n");
    writeGameData("two-breaks.txt", "a\n\n");
    writeGameData("no-break.txt", "a\rb");
    writeGameData("empty.txt", "");

    struct Case {
        const char* name;
        Strings expected;
    };
    const Case cases[] = {
        {"crlf.txt", {"a", "b"}},
        {"two-breaks.txt", {"a", ""}},
        {"no-break.txt", {"a", "b"}},
        {"empty.txt", {"untouched"}},
        {"missing.txt", {"untouched"}},
    };
    for (const Case& c : cases) {
        Strings lines{"untouched"};
        readLines(c.name, lines, FileLocation::GameData, false);
        EXPECT_EQ(lines, c.expected) << c.name;
    }
    Strings lines;
    EXPECT_THROW(readLines("missing.txt", lines, FileLocation::GameData, true), CheckReleaseError);

    std::string text = "untouched";
    EXPECT_EQ(readText("crlf.txt", text), 6u);
    EXPECT_EQ(text, "a\r\nb\r\n");
    text = "untouched";
    EXPECT_EQ(readText("missing.txt", text), 0u);
    EXPECT_EQ(text, "untouched");
}

TEST_F(FilesTest, ReadXmlDropsCommentsAndKeepsWhiteSpace) {
    writeUser("settings.xml", "<Settings><!-- note --><Setting Key=\"a\"> 1 </Setting></Settings>");
    writeUser("broken.xml", "<Settings><Setting></Settings>");

    boost::property_tree::ptree tree;
    tree.put("old", 1);
    ASSERT_GT(readXml("settings.xml", tree, FileLocation::User), 0u);
    EXPECT_FALSE(tree.get_child_optional("old"));
    const auto& settings = tree.get_child("Settings");
    EXPECT_EQ(settings.size(), 1u); // the comment is gone
    EXPECT_EQ(settings.get<std::string>("Setting"), " 1 ");
    EXPECT_EQ(settings.get<std::string>("Setting.<xmlattr>.Key"), "a");

    EXPECT_EQ(readXml("missing.xml", tree, FileLocation::User), 0u);
    EXPECT_TRUE(tree.get_child_optional("Settings"));
    EXPECT_THROW(readXml("broken.xml", tree, FileLocation::User), boost::property_tree::xml_parser_error);
    EXPECT_TRUE(tree.get_child_optional("Settings"));
}

TEST_F(FilesTest, WriteFileReplacesAppendsAndCreatesFolders) {
    ASSERT_TRUE(writeFile("settings.xml", "long old content", 16, 0));
    ASSERT_TRUE(writeFile("settings.xml", "new", 3, 0));
    EXPECT_EQ(readUser("settings.xml"), "new");

    ASSERT_TRUE(writeFile("log.txt", "ab", 2, WriteFileAppend));
    ASSERT_TRUE(writeFile("log.txt", "cd", 2, WriteFileAppend));
    EXPECT_EQ(readUser("log.txt"), "abcd");

    ASSERT_TRUE(writeFile("Saves/Slot1/world.dat", "w", 1, 0));
    EXPECT_EQ(readUser("Saves/Slot1/world.dat"), "w");
    ASSERT_TRUE(writeFile("empty.bin", nullptr, 0, 0));
    EXPECT_EQ(readUser("empty.bin"), "");

    // Only the targets remain: no temporary files, no backups nobody asked for.
    EXPECT_EQ(userFolderEntries(), (Strings{"Saves", "empty.bin", "log.txt", "settings.xml"}));
}

TEST_F(FilesTest, WriteFileBackupHoldsThePreviousFile) {
    ASSERT_TRUE(writeFile("profile.xml", "one", 3, WriteFileBackup));
    EXPECT_EQ(userFolderEntries(), (Strings{"profile.xml"})); // nothing to back up yet
    ASSERT_TRUE(writeFile("profile.xml", "two", 3, WriteFileBackup));
    ASSERT_TRUE(writeFile("profile.xml", "three", 5, WriteFileBackup));
    EXPECT_EQ(readUser("profile.xml"), "three");
    EXPECT_EQ(readUser("profile.xml.backup"), "two");
    ASSERT_TRUE(writeFile("profile.xml", "four", 4, 0));
    EXPECT_EQ(readUser("profile.xml.backup"), "two");
    EXPECT_EQ(userFolderEntries(), (Strings{"profile.xml", "profile.xml.backup"}));
}

TEST_F(FilesTest, FailedWriteKeepsTheOldFileAndItsBackup) {
    ASSERT_TRUE(writeFile("save.dat", "first", 5, 0));
    ASSERT_TRUE(writeFile("save.dat", "second", 6, WriteFileBackup));

    // A file size limit makes the write run short, as a full disk would.
    const std::string big(64 * 1024, 'x');
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit limit = oldLimit;
    limit.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool written = writeFile("save.dat", big.data(), big.size(), WriteFileBackup);
    const bool appended = writeFile("save.dat", big.data(), big.size(), WriteFileAppend);
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_FALSE(appended);
    EXPECT_EQ(readUser("save.dat"), "second");
    EXPECT_EQ(readUser("save.dat.backup"), "first");
    EXPECT_EQ(userFolderEntries(), (Strings{"save.dat", "save.dat.backup"}));
}

TEST_F(FilesTest, WriteFileFailsWithoutTouchingAnything) {
    writeUser("plain", "file");
    EXPECT_FALSE(writeFile("plain/inside.txt", "x", 1, 0)); // folder part is a plain file
    EXPECT_EQ(readUser("plain"), "file");

    fs::create_directories(userPath("folder"));
    EXPECT_FALSE(writeFile("folder", "x", 1, 0)); // target is a folder
    EXPECT_TRUE(fs::is_directory(userPath("folder")));
    EXPECT_EQ(userFolderEntries(), (Strings{"folder", "plain"}));
}

TEST_F(FilesTest, StaleTemporaryFilesOfTheTargetAreRemovedOnItsNextWrite) {
    // A writer that has ended.
    const pid_t ended = ::fork();
    if (ended == 0) std::_Exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string endedWriter = std::to_string(ended);
    const std::string thisProcess = std::to_string(::getpid());
    const std::string liveWriter = std::to_string(::getppid());
    for (const std::string& name :
         {"settings.xml.tmp-" + endedWriter + "-3", "settings.xml.tmp-" + thisProcess + "-12345",
          "settings.xml.tmp-" + liveWriter + "-1", std::string("settings.xml.tmp-notes"),
          "session.xml.tmp-" + endedWriter + "-1"})
        writeUser(name, "<Settings");

    ASSERT_TRUE(writeFile("settings.xml", "new", 3, 0));
    // A live writer's file and another target's stay; so does what is no temporary file.
    EXPECT_EQ(userFolderEntries(), (Strings{"session.xml.tmp-" + endedWriter + "-1", "settings.xml",
                                            "settings.xml.tmp-" + liveWriter + "-1", "settings.xml.tmp-notes"}));
}

TEST_F(FilesTest, AFailedWriteSaysWhereAndWhy) {
    writeUser("plain", "file");
    std::string error;
    EXPECT_FALSE(writeFile("plain/inside.txt", "x", 1, 0, &error));
    EXPECT_EQ(error, userPath("plain") + ": Not a directory");
    ::chmod(userPath("").c_str(), 0500);
    const bool written = writeFile("settings.xml", "x", 1, 0, &error);
    ::chmod(userPath("").c_str(), 0700);
    if (::geteuid() != 0) {  // the superuser writes anyway
        EXPECT_FALSE(written);
        EXPECT_EQ(error, userPath("settings.xml") + ": Permission denied");
    }
}

TEST_F(FilesTest, FileExistsAndDelete) {
    writeUser("a.txt", "a");
    fs::create_directories(userPath("dir"));
    EXPECT_TRUE(fileExists("a.txt", FileLocation::User));
    EXPECT_FALSE(fileExists("dir", FileLocation::User));
    EXPECT_FALSE(fileExists("b.txt", FileLocation::User));
    EXPECT_FALSE(fileExists("a.txt", FileLocation::GameData));

    EXPECT_TRUE(deleteUserFile("a.txt"));
    EXPECT_FALSE(fileExists("a.txt", FileLocation::User));
    EXPECT_FALSE(deleteUserFile("a.txt"));
    EXPECT_FALSE(deleteUserFile("dir"));
    EXPECT_TRUE(fs::is_directory(userPath("dir")));
}

TEST_F(FilesTest, ListFilesMatchesWildcards) {
    for (const char* name : {"Levels/cave.xml", "Levels/Town.XML", "Levels/town.xml.bak", "Levels/a[1].png",
                             "Levels/ab.png", "Levels/sub/deep.xml"})
        writeGameData(name, "x");
    writeUser("Captures/left0001.tga", "x");
    writeUser("Captures/Left0002.tga", "x");
    writeUser("Captures/right0001.tga", "x");

    struct Case {
        FileLocation location;
        const char* pattern;
        Strings expected;
    };
    const Case cases[] = {
        {FileLocation::GameData, "Levels/*.xml", {"Levels/Town.XML", "Levels/cave.xml"}},
        {FileLocation::GameData, "levels/*.xml", {"levels/Town.XML", "levels/cave.xml"}},
        {FileLocation::GameData, "Levels/a?.png", {"Levels/ab.png"}},
        {FileLocation::GameData, "Levels/a[1].png", {"Levels/a[1].png"}},
        {FileLocation::GameData, "Levels/*", {"Levels/Town.XML", "Levels/a[1].png", "Levels/ab.png",
                                              "Levels/cave.xml", "Levels/sub", "Levels/town.xml.bak"}},
        {FileLocation::GameData, "Missing/*", {}},
        {FileLocation::User, "Captures/left*.tga", {"Captures/left0001.tga"}},
    };
    for (const Case& c : cases) {
        Strings names{"kept"};
        EXPECT_EQ(listFiles(c.location, names, c.pattern), c.expected.size()) << c.pattern;
        Strings expected{"kept"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(names, expected) << c.pattern;
    }
}

TEST_F(FilesTest, CreateDirectories) {
    const std::string nested = userPath("a/b/c");
    EXPECT_TRUE(createDirectories(nested));
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_TRUE(createDirectories(nested + "/"));
    EXPECT_TRUE(createDirectories(userPath("")));

    writeUser("file", "x");
    EXPECT_FALSE(createDirectories(userPath("file/sub")));
    EXPECT_FALSE(createDirectories(userPath("file")));
}

TEST_F(FilesTest, GameDataNamesIgnoreLetterCase) {
    writeGameData("Levels/Cave.xml", "cave");
    writeGameData("Audio/a.txt", "lower");
    writeGameData("Audio/A.txt", "upper");
    writeUser("Settings.xml", "user");

    ByteArray buffer;
    ASSERT_EQ(readFile(buffer, "LEVELS/cave.XML", FileLocation::GameData, true), 4u);
    EXPECT_EQ(textOf(buffer, 4), "cave");
    EXPECT_EQ(gamePath("levels/cave.xml"), gameDataPath("Levels/Cave.xml"));
    EXPECT_TRUE(fileExists("levels/CAVE.xml", FileLocation::GameData));

    // The exact spelling wins; among other spellings the lowest name does.
    EXPECT_EQ(gamePath("Audio/a.txt"), gameDataPath("Audio/a.txt"));
    EXPECT_EQ(gamePath("Audio/A.txt"), gameDataPath("Audio/A.txt"));
    EXPECT_EQ(gamePath("audio/a.TXT"), gameDataPath("Audio/A.txt"));

    // Unknown names keep their spelling; user files are matched exactly.
    EXPECT_EQ(gamePath("levels/none.xml"), gameDataPath("levels/none.xml"));
    EXPECT_FALSE(fileExists("settings.xml", FileLocation::User));
}

} // namespace
} // namespace zor
