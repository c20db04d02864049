#include "Framework/platform/UserFolder.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <string>

namespace zor {
namespace {

// Every variable the lookup reads, set for one case ("" counts as unset).
struct Environment {
    std::string documents, configHome, home;
};

std::string documentsWith(const Environment& env) {
    test::ScopedEnv documents("XDG_DOCUMENTS_DIR", env.documents);
    test::ScopedEnv configHome("XDG_CONFIG_HOME", env.configHome);
    test::ScopedEnv home("HOME", env.home);
    return documentsFolder();
}

TEST(UserFolderTest, DocumentsFolderPrecedence) {
    test::TempFolder temp;
    const std::string home = (temp / "home").string();
    const std::string config = (temp / "config").string();
    temp.write("home/.config/user-dirs.dirs",
               "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
               "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    temp.write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/papers\"\n");
    temp.write("relative/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"papers\"\n");
    temp.write("unterminated/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\n");

    struct Case {
        const char* what;
        Environment env;
        std::string expected;
    };
    const Case cases[] = {
        {"variable wins", {"/data/docs", config, home}, "/data/docs"},
        {"user-dirs file of the config home", {"", config, home}, "/srv/papers"},
        {"user-dirs file below HOME", {"", "", home}, home + "/Dokumente"},
        {"relative config home is ignored", {"", "config", home}, home + "/Dokumente"},
        {"relative entry is ignored", {"", (temp / "relative").string(), home}, home + "/Documents"},
        {"unterminated entry is ignored", {"", (temp / "unterminated").string(), home}, home + "/Documents"},
        {"no user-dirs file", {"", "", (temp / "elsewhere").string()}, (temp / "elsewhere").string() + "/Documents"},
    };
    for (const Case& c : cases) EXPECT_EQ(documentsWith(c.env), c.expected) << c.what;

    // Never below the working folder just because HOME is unset.
    const passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    const std::string fromDatabase = documentsWith({"", (temp / "elsewhere").string(), ""});
    EXPECT_EQ(fromDatabase.rfind(std::string(user->pw_dir), 0), 0u) << fromDatabase;
}

TEST(UserFolderTest, OverrideComesFromTheEnvironment) {
    {
        test::ScopedEnv set("ZOR_USER_DIR", "/tmp/zor-user");
        EXPECT_EQ(userFolderOverride(), "/tmp/zor-user");
    }
    test::ScopedEnv cleared("ZOR_USER_DIR", "");
    EXPECT_EQ(userFolderOverride(), "");
}

} // namespace
} // namespace zor
