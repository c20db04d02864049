#pragma once
// Starting the real program as a separate process on the sample data, each on a virtual X
// server of its own, and looking at what it shows and writes.

#include "Framework/core/commands/NamedPipe.h"
#include "Framework/platform/LocalSocket.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace zor::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A virtual X server of one test's own. A game draws hundreds of frames a second into its
// window, which would slow every other test on a shared server.
class VirtualDisplay {
public:
    // On a free display number, or on the one named (":5").
    explicit VirtualDisplay(const std::string& wanted = std::string()) {
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
            std::vector<const char*> arguments = {"Xvfb"};
            if (!wanted.empty()) arguments.push_back(wanted.c_str());
            for (const char* argument : {"-displayfd", fd.c_str(), "-screen", "0", "1280x720x24", "-nolisten", "tcp"})
                arguments.push_back(argument);
            arguments.push_back(nullptr);
            execvp("Xvfb", const_cast<char* const*>(arguments.data()));
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
    ~VirtualDisplay() { stop(); }
    // Ends the server now, as a session that logs out or a dropped forwarding would.
    void stop() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
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
    // Starts the game (or another program) in `folder` with the environment changed;
    // standard error goes to `errorFile`, standard output (the log) to `logFile` when one
    // is named.
    GameProcess(const fs::path& folder, const Environment& environment, const std::vector<std::string>& arguments,
                const fs::path& errorFile, const fs::path& logFile = fs::path(),
                const std::string& program = ZOR_PROGRAM_PATH) {
        std::vector<std::string> argv = {program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        // Gone before the start, so nothing an earlier run wrote is taken for this one's.
        std::error_code ignored;
        fs::remove(errorFile, ignored);
        if (!logFile.empty()) fs::remove(logFile, ignored);
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
    void signal(int number) {
        if (!m_finished) kill(m_pid, number);
    }
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_status = 0;
    bool m_finished = false;
};

inline std::string readText(const fs::path& path) {
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
inline std::optional<CapturedImage> readCapture(const fs::path& path) {
    const std::string bytes = readText(path);
    if (bytes.size() < 18) return std::nullopt;
    CapturedImage image;
    image.width = std::uint8_t(bytes[12]) | std::uint8_t(bytes[13]) << 8;
    image.height = std::uint8_t(bytes[14]) | std::uint8_t(bytes[15]) << 8;
    if (bytes.size() != 18 + std::size_t(image.width) * std::size_t(image.height) * 4) return std::nullopt;
    image.pixels.assign(bytes.begin() + 18, bytes.end());
    return image;
}

inline std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    return files;
}

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The processes whose environment holds the variable with the value: a game started with
// it and every process the game started in turn.
inline std::vector<pid_t> processesWith(const std::string& variable, const std::string& value) {
    const std::string entry = variable + "=" + value + std::string(1, '\0');
    std::vector<pid_t> found;
    for (const fs::directory_entry& process : fs::directory_iterator("/proc")) {
        const std::string name = process.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (contains(readText(process.path() / "environ"), entry)) found.push_back(pid_t(std::stol(name)));
    }
    return found;
}

// Whether the condition holds within the time.
template <class Condition>
bool eventually(Condition condition, std::chrono::seconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Whether every process with the variable's value has ended within the time.
inline bool noProcessLeft(const std::string& variable, const std::string& value, std::chrono::seconds timeout) {
    return eventually([&] { return processesWith(variable, value).empty(); }, timeout);
}

// What the sanitizers write when they find a fault.
inline bool hasSanitizerReport(const std::string& errors) {
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



} // namespace zor::test
