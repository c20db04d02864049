// The real program, started as a separate process on the sample data.

#include "Framework/core/commands/NamedPipe.h"
#include "Framework/platform/LocalSocket.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A virtual X server of one test's own. A game draws hundreds of frames a second into its
// window, which would slow every other test on a shared server.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int fds[2];
        if (pipe(fds) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            if (quiet >= 0) {
                dup2(quiet, STDOUT_FILENO);
                dup2(quiet, STDERR_FILENO);
            }
            // The server picks a free display number and writes it to the pipe when ready.
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x720x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd ready{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&ready, 1, 30000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) m_name = ":" + number;
    }
    ~VirtualDisplay() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Empty when the server did not start.
    const std::string& name() const { return m_name; }

private:
    pid_t m_pid = -1;
    std::string m_name;
};

// The environment of a game: variables to set, and variables to remove (empty values).
using Environment = std::map<std::string, std::string>;

class GameProcess {
public:
    // Starts the game in `folder` with the environment changed; standard error goes to
    // `errorFile`, standard output (the log) to `logFile` when one is named.
    GameProcess(const fs::path& folder, const Environment& environment, const std::vector<std::string>& arguments,
                const fs::path& errorFile, const fs::path& logFile = fs::path()) {
        std::vector<std::string> argv = {ZOR_PROGRAM_PATH};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        m_pid = fork();
        if (m_pid == 0) {
            if (chdir(folder.c_str()) != 0) _exit(127);
            for (const auto& [name, value] : environment) {
                if (value.empty())
                    unsetenv(name.c_str());
                else
                    setenv(name.c_str(), value.c_str(), 1);
            }
            const int fd = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(127);
            if (!logFile.empty()) {
                const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                if (log < 0 || dup2(log, STDOUT_FILENO) < 0) _exit(127);
            }
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
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A frame capture: 32-bit pixels, blue, green, red, alpha, rows bottom-up.
struct CapturedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// The image when the file is complete, else nothing (the writer may still be at it).
std::optional<CapturedImage> readCapture(const fs::path& path) {
    const std::string bytes = readText(path);
    if (bytes.size() < 18) return std::nullopt;
    CapturedImage image;
    image.width = std::uint8_t(bytes[12]) | std::uint8_t(bytes[13]) << 8;
    image.height = std::uint8_t(bytes[14]) | std::uint8_t(bytes[15]) << 8;
    if (bytes.size() != 18 + std::size_t(image.width) * std::size_t(image.height) * 4) return std::nullopt;
    image.pixels.assign(bytes.begin() + 18, bytes.end());
    return image;
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    return files;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What the sanitizers write when they find a fault.
bool hasSanitizerReport(const std::string& errors) {
    return contains(errors, "ERROR: AddressSanitizer") || contains(errors, "runtime error:") ||
           contains(errors, "ERROR: LeakSanitizer") || contains(errors, "WARNING: ThreadSanitizer");
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(display.name().empty()) << "Xvfb did not start"; }

    // Every game of the tests gets its own display, user folder and level-editor channel,
    // so games started side by side do not meet.
    Environment environment() const {
        return {{"DISPLAY", display.name()},
                {"ZOR_USER_DIR", user.path().string()},
                {"XDG_RUNTIME_DIR", runtime.path().string()},
                {"ALSOFT_DRIVERS", "null"},
                {"ZOR_NO_MESSAGEBOX", "1"}};
    }
    // A copy of the sample data's folder to break things in.
    fs::path copyOfBundle() const {
        fs::copy("BundlePC", work.path() / "BundlePC", fs::copy_options::recursive);
        return work.path();
    }

    // Sends command words to the game over its level-editor channel.
    void sendCommand(const std::vector<std::string>& words) const {
        test::ScopedEnv channelFolder("XDG_RUNTIME_DIR", runtime.path().string());
        std::string text;
        for (const std::string& word : words) text += "\"" + word + "\" ";
        std::string error;
        // The channel opens with the main loop, a moment after the log says the data is in.
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (sendLocalMessage(kLevelEditorPipeName, text, &error)) return;
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << "could not reach the game: " << error;
    }

    // The game on the sample data in a window of 640 x 360 (small captured frames), its log
    // going to `log`.
    std::unique_ptr<GameProcess> startShownGame(const fs::path& errors, const fs::path& log) const {
        user.write("settings.xml", "<Settings><Setting Key=\"Screen.WindowSize\" Value=\"640;360\"/></Settings>");
        auto game = std::make_unique<GameProcess>(fs::current_path(), environment(),
                                                  std::vector<std::string>{"-set", "Screen.VSync", "0"}, errors, log);
        EXPECT_GT(game->pid(), 0);
        return game;
    }

    // Whether the data got loaded and the first frame shown in time; the worker may finish
    // the data before the main thread has shown its first frame.
    static bool waitUntilShown(GameProcess& game, const fs::path& log) {
        const auto shown = [&] {
            const std::string text = readText(log);
            return contains(text, "Game data loaded in ") && contains(text, "First frame shown ");
        };
        return game.waitUntil(shown, 120s) && shown();
    }

    // Turns on the capture mode until one whole frame is written; nothing when the game ends
    // or no frame comes.
    std::optional<CapturedImage> captureFrame(GameProcess& game) const {
        for (const fs::path& file : filesIn(user / "Captures")) fs::remove(file);
        sendCommand({"-debug", "system", "capture"});
        std::optional<CapturedImage> frame;
        game.waitUntil(
            [&] {
                for (const fs::path& file : filesIn(user / "Captures"))
                    if (file.filename().string().rfind("left", 0) == 0 && (frame = readCapture(file))) return true;
                return false;
            },
            120s);
        sendCommand({"-debug", "system", "capture"});
        return frame;
    }

    // Types a key into the game's window, as a player would.
    void pressKey(const std::string& key) const {
        const std::string command = "DISPLAY=" + display.name() +
                                    " xdotool search --name '^Morrowdeep$' windowfocus key " + key +
                                    " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }

    // Presses the key until the log holds the text; false when it never does.
    bool pressUntilLogged(GameProcess& game, const std::string& key, const fs::path& log,
                          const std::string& text) const {
        const auto logged = [&] { return contains(readText(log), text); };
        for (int attempt = 0; attempt < 60 && game.running() && !logged(); ++attempt) {
            pressKey(key);
            game.waitUntil(logged, 2s);
        }
        return logged();
    }

    VirtualDisplay display;
    test::TempFolder user;
    test::TempFolder runtime;
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

TEST_F(ProgramTest, LoadsTheSampleDataShowsItCapturedAndShutsDownInOrder) {
    const fs::path errors = output / "stderr.txt";
    const fs::path log = output / "log.txt";
    const std::unique_ptr<GameProcess> started = startShownGame(errors, log);
    GameProcess& game = *started;
    ASSERT_TRUE(waitUntilShown(game, log)) << readText(log) << readText(errors);
    ASSERT_TRUE(game.running()) << readText(log) << readText(errors);
    // Past the fade-in.
    std::this_thread::sleep_for(1s);

    const std::optional<CapturedImage> frame = captureFrame(game);
    ASSERT_TRUE(frame) << readText(log) << readText(errors);
    EXPECT_EQ(frame->width, 640);
    EXPECT_EQ(frame->height, 360);
    // The loading screen: its dark background nearly everywhere, bright text and the
    // amber button on it.
    std::map<std::uint32_t, int> colours;
    int bright = 0;
    int amber = 0;
    for (std::size_t i = 0; i + 3 < frame->pixels.size(); i += 4) {
        const int b = frame->pixels[i], g = frame->pixels[i + 1], r = frame->pixels[i + 2];
        ++colours[std::uint32_t(r << 16 | g << 8 | b)];
        if (r > 200 && g > 200 && b > 180) ++bright;
        if (r > 150 && g > 90 && g < 170 && b < 80) ++amber;
    }
    const int pixels = frame->width * frame->height;
    const int background = colours[std::uint32_t(18 << 16 | 22 << 8 | 34)];
    EXPECT_GT(background, pixels / 2) << colours.size() << " colours";
    EXPECT_GT(bright, 200);
    EXPECT_GT(amber, 1000);
    EXPECT_GT(colours.size(), 20u);

    sendCommand({"-debug", "system", "resetAchievements"});
    ASSERT_TRUE(game.waitUntil([&] { return fs::exists(user / "progress.xml"); }, 60s)) << readText(errors);
    EXPECT_TRUE(game.running()) << readText(errors);

    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
    const std::string settings = readText(user / "settings.xml");
    EXPECT_TRUE(contains(settings, "Key=\"Screen.VSync\" Value=\"0\"")) << settings;
    EXPECT_TRUE(contains(settings, "Key=\"Screen.WindowSize\" Value=\"640;360\"")) << settings;
    EXPECT_TRUE(contains(readText(user / "progress.xml"), "<Progress")) << readText(user / "progress.xml");
    EXPECT_FALSE(hasSanitizerReport(readText(errors))) << readText(errors);
}

TEST_F(ProgramTest, PlaysAGameFromTheMenusAndQuitsBackToThem) {
    const fs::path errors = output / "stderr.txt";
    const fs::path log = output / "log.txt";
    const std::unique_ptr<GameProcess> started = startShownGame(errors, log);
    GameProcess& game = *started;
    ASSERT_TRUE(waitUntilShown(game, log)) << readText(log) << readText(errors);

    // From the loading screen on to the menus, the intro and into the game, which is built
    // on the worker and handed back.
    ASSERT_TRUE(pressUntilLogged(game, "Return", log, "Game built and handed back"))
        << readText(log) << readText(errors);
    // Quitting fades the game out, destroys it on the worker and goes back to the menus.
    ASSERT_TRUE(pressUntilLogged(game, "Escape", log, "Game destroyed, back to the menus"))
        << readText(log) << readText(errors);
    std::this_thread::sleep_for(1s);  // past the change of state
    const std::optional<CapturedImage> frame = captureFrame(game);
    ASSERT_TRUE(frame) << readText(log) << readText(errors);
    std::map<std::uint32_t, int> colours;
    for (std::size_t i = 0; i + 3 < frame->pixels.size(); i += 4)
        ++colours[std::uint32_t(frame->pixels[i + 2] << 16 | frame->pixels[i + 1] << 8 | frame->pixels[i])];
    const auto most = std::max_element(colours.begin(), colours.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    // The menus' stand-in fills the screen in earth brown.
    EXPECT_EQ(most->first, std::uint32_t(56 << 16 | 40 << 8 | 24)) << std::hex << most->first;
    EXPECT_GT(most->second, frame->width * frame->height / 2);

    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
    const std::string text = readText(log);
    EXPECT_EQ(text.find("Game built and handed back"), text.rfind("Game built and handed back")) << text;
    EXPECT_FALSE(contains(text, "Error")) << text;
    EXPECT_FALSE(hasSanitizerReport(readText(errors))) << readText(errors);
}

TEST_F(ProgramTest, BrokenGameDataEndsInTheLoadErrorOrIsLoggedAndGoesOn) {
    struct Case {
        const char* what;
        const char* file;      // below BundlePC
        const char* contents;  // null: the file is removed
        bool fatal;            // ends in the error box (exit code 255), else runs until SIGTERM
        std::vector<std::string> expected;  // in standard error when fatal, else in the log
    };
    const Case cases[] = {
        {"a missing definition file", "Definitions/quests.xml", nullptr, true,
         {"Error while loading: Worker thread: Could not load QuestDefinitions from file 'Definitions/quests.xml', "
          "reason: Could not read file Definitions/quests.xml\n\nPlease verify game cache integrity.\n"}},
        {"a malformed definition file", "Definitions/actors.xml", "<ActorDefinitions><Actor Name=", true,
         {"Error while loading: Worker thread: Could not load ActorDefinitions from file 'Definitions/actors.xml', "
          "reason: Could not parse file Definitions/actors.xml: "}},
        {"a missing font", "Fonts/medium.fnt", nullptr, true,
         {"Error while loading: Could not read font definition Fonts/medium.fnt\n\nPlease verify game cache "
          "integrity.\n"}},
        {"a font list naming no font at all", "Fonts/fonts.txt", "", true,
         {"Error while loading: ", "debug"}},
        // An error logged during start-up leaves the game in the error menu.
        {"an unreadable key image", "Textures/key_4.png", "not a picture", false,
         {"Error: Could not load texture 'Textures/key_4.png': "}},
        // Loaded on the worker: the data loads on, with the placeholder image.
        {"an unreadable sprite page", "Sprites/ui/page0.png", "\x89PNG\r\n\x1a\n cut short", false,
         {"Error: Could not load texture 'Sprites/ui/page0.png': ", "Game data loaded in "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        fs::copy("BundlePC", folder / "BundlePC", fs::copy_options::recursive);
        if (c.contents)
            folder.write(std::string("BundlePC/") + c.file, c.contents);
        else
            fs::remove(folder / "BundlePC" / c.file);
        test::TempFolder caseUser;
        Environment env = environment();
        env["ZOR_USER_DIR"] = caseUser.path().string();
        const fs::path errors = output / "stderr.txt";
        const fs::path log = output / "log.txt";
        GameProcess game(folder.path(), env, {}, errors, log);
        if (c.fatal) {
            EXPECT_EQ(game.exitCode(120s), 255) << readText(log);
            for (const std::string& part : c.expected) EXPECT_TRUE(contains(readText(errors), part)) << readText(errors);
        } else {
            const auto logged = [&] {
                const std::string text = readText(log);
                for (const std::string& part : c.expected)
                    if (!contains(text, part)) return false;
                return true;
            };
            EXPECT_TRUE(game.waitUntil(logged, 120s) && logged()) << readText(log) << readText(errors);
            EXPECT_TRUE(game.running()) << readText(errors);
            game.signal(SIGTERM);
            EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
        }
        EXPECT_FALSE(hasSanitizerReport(readText(errors))) << readText(errors);
    }
}

TEST_F(ProgramTest, TheCrashFlagEndsInTheCrashReport) {
    const fs::path errors = output / "stderr.txt";
    GameProcess game(fs::current_path(), environment(), {"-debug", "system", "crash"}, errors, output / "log.txt");
    EXPECT_EQ(game.exitCode(120s), 255) << readText(errors);
    const std::string report = readText(user / "crash.txt");
    EXPECT_TRUE(contains(report, "Unhandled exception 0xC0000005 at 0x")) << report;
    EXPECT_TRUE(contains(report, "Access violation trying to write to 0x0000000000000000.")) << report;
    EXPECT_TRUE(contains(readText(errors), report.substr(0, report.find('\n')))) << readText(errors);
}

TEST_F(ProgramTest, RunsWithoutChoosingASoundBackend) {
    // Where no sound device opens, the game picks openal-soft's null output itself.
    Environment env = environment();
    env["ALSOFT_DRIVERS"] = "";
    const fs::path errors = output / "stderr.txt";
    const fs::path log = output / "log.txt";
    GameProcess game(fs::current_path(), env, {}, errors, log);
    ASSERT_TRUE(game.waitUntil([&] { return contains(readText(log), "Game data loaded in "); }, 120s))
        << readText(log) << readText(errors);
    EXPECT_TRUE(game.running()) << readText(errors);
    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
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
