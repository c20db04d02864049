// The real program, started as a separate process on the sample data.

#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class GameProcess {
public:
    // Starts the game in `folder` with the environment variables added; standard error
    // goes to a file of the test.
    GameProcess(const fs::path& folder, const std::map<std::string, std::string>& environment,
                const std::vector<std::string>& arguments, const fs::path& errorFile) {
        std::vector<std::string> argv = {ZOR_PROGRAM_PATH};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        m_pid = fork();
        if (m_pid == 0) {
            if (chdir(folder.c_str()) != 0) _exit(127);
            for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
            const int fd = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(127);
            std::vector<char*> raw;
            for (std::string& a : argv) raw.push_back(a.data());
            raw.push_back(nullptr);
            execv(raw[0], raw.data());
            _exit(127);
        }
    }
    ~GameProcess() {
        if (m_pid > 0 && !m_finished) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    bool running() {
        if (m_finished) return false;
        const pid_t done = waitpid(m_pid, &m_status, WNOHANG);
        if (done == m_pid) m_finished = true;
        return !m_finished;
    }
    // Waits until `ready` holds or the process ends; false on a timeout.
    template <class Ready>
    bool waitUntil(Ready ready, std::chrono::seconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (ready() || !running()) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    // The exit status (0..255), or -1 when the process did not exit by itself in time or
    // was ended by a signal.
    int exitCode(std::chrono::seconds timeout) {
        if (!waitUntil([] { return false; }, timeout)) return -1;
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    }
    void signal(int number) { kill(m_pid, number); }
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_status = 0;
    bool m_finished = false;
};

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ProgramTest : public ::testing::Test {
protected:
    std::map<std::string, std::string> environment() const {
        return {{"ZOR_USER_DIR", user.path().string()}, {"ALSOFT_DRIVERS", "null"}, {"ZOR_NO_MESSAGEBOX", "1"}};
    }
    // A copy of the sample data's folder to break things in.
    fs::path copyOfBundle() const {
        fs::copy("BundlePC", work.path() / "BundlePC", fs::copy_options::recursive);
        return work.path();
    }

    test::TempFolder user;
    test::TempFolder work;
    test::TempFolder output;
};

TEST_F(ProgramTest, RunsUntilSigtermThenShutsDownInOrder) {
    const fs::path errors = output / "stderr.txt";
    GameProcess game(fs::current_path(), environment(), {"-set", "Screen.VSync", "0"}, errors);
    ASSERT_GT(game.pid(), 0);
    // The player's controls file is written just before the main loop starts.
    ASSERT_TRUE(game.waitUntil([&] { return fs::exists(user / "controls.cfg"); }, 60s)) << readText(errors);
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(game.running()) << readText(errors);

    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(30s), 0) << readText(errors);
    // The settings are saved on the way out, with the command line's change in them.
    ASSERT_TRUE(fs::exists(user / "settings.xml"));
    const std::string settings = readText(user / "settings.xml");
    EXPECT_NE(settings.find("Key=\"Screen.VSync\" Value=\"0\""), std::string::npos) << settings;
}

TEST_F(ProgramTest, BrokenSettingsDeclarationsEndInAnErrorBox) {
    const fs::path folder = copyOfBundle();
    std::ofstream(folder / "BundlePC/Definitions/settings.xml") << "<Settings><Setting Key=\"Screen.VSync\"";
    const fs::path errors = output / "stderr.txt";
    GameProcess game(folder, environment(), {}, errors);
    EXPECT_EQ(game.exitCode(30s), 255);
    const std::string text = readText(errors);
    EXPECT_NE(text.find("Unexpected runtime error: Could not read settings definition Definitions/settings.xml, "
                        "reason: "),
              std::string::npos)
        << text;
    EXPECT_FALSE(fs::exists(user / "settings.xml"));  // nothing else runs on the way out
}

TEST_F(ProgramTest, BrokenDataDuringInitialisationIsALoadError) {
    const fs::path folder = copyOfBundle();
    std::ofstream(folder / "BundlePC/Definitions/textures.xml") << "<TextureDefinitions><Texture";
    const fs::path errors = output / "stderr.txt";
    GameProcess game(folder, environment(), {}, errors);
    EXPECT_EQ(game.exitCode(60s), 255);
    const std::string text = readText(errors);
    EXPECT_NE(text.find("Error while loading: Could not load "), std::string::npos) << text;
    EXPECT_NE(text.find("\n\nPlease verify game cache integrity.\n"), std::string::npos) << text;
}

} // namespace
} // namespace zor
