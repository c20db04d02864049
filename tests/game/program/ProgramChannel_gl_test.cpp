// The level-editor channel of a running game, used the way the level editor and pipe_send
// use it.

#include "tests/game/program/ProgramFixture.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace zor::test {
namespace {

class ChannelProgramTest : public ProgramTest {
protected:
    // Runs pipe_send with the words on the game's channel; its exit code, or -1 when it
    // did not end within the time limit.
    int pipeSend(const std::vector<std::string>& words) {
        GameProcess sender(fs::current_path(), {{"XDG_RUNTIME_DIR", runtime.path().string()}}, words,
                           output / "pipe_send.txt", fs::path(), ZOR_PIPE_SEND_PATH);
        return sender.exitCode(20s);
    }
    // Starts the game and waits until its channel takes messages.
    void startGame(std::optional<GameProcess>& game) {
        game.emplace(fs::current_path(), environment(), std::vector<std::string>{"-set", "Screen.VSync", "0"},
                     output / "stderr.txt", output / "log.txt");
        const auto listening = [&] { return pipeSend({"-set", "Language.Custom", "en"}) == 0; };
        ASSERT_TRUE(game->waitUntil(listening, 60s)) << readText(output / "log.txt");
    }
    std::string settingsFile() const { return readText(user / "settings.xml"); }
};

TEST_F(ChannelProgramTest, BackToBackMessagesEachRunOnTheirOwn) {
    std::optional<GameProcess> game;
    ASSERT_NO_FATAL_FAILURE(startGame(game));
    for (int pair = 0; pair < 20; ++pair) {
        SCOPED_TRACE(pair);
        // One short message: it runs nothing, and the next one runs as it was sent.
        if (pair == 7)
            EXPECT_EQ(pipeSend({"-set", "Screen.VSync"}), 0) << readText(output / "pipe_send.txt");
        else
            EXPECT_EQ(pipeSend({"-set", "Screen.VSync", std::to_string(pair % 2)}), 0)
                << readText(output / "pipe_send.txt");
        EXPECT_EQ(pipeSend({"-debug", "perf", "minmax"}), 0) << readText(output / "pipe_send.txt");
    }
    game->signal(SIGTERM);
    EXPECT_EQ(game->exitCode(30s), 0) << readText(output / "stderr.txt");
    // The last pair set 1, the default: nothing is saved, and never "-debug".
    EXPECT_FALSE(contains(settingsFile(), "Screen.VSync")) << settingsFile();
}

TEST_F(ChannelProgramTest, PipeSendGetsThroughWhileTenSilentConnectionsAreOpen) {
    std::optional<GameProcess> game;
    ASSERT_NO_FATAL_FAILURE(startGame(game));
    std::vector<int> silent;
    const std::string path = (runtime / kLevelEditorPipeName).string();
    for (int i = 0; i < 10; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, path.size());
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        silent.push_back(fd);
    }
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(pipeSend({"-set", "Screen.VSync", "0"}), 0) << readText(output / "pipe_send.txt");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    for (const int fd : silent) ::close(fd);
    game->signal(SIGTERM);
    EXPECT_EQ(game->exitCode(30s), 0) << readText(output / "stderr.txt");
    // Run once: the value is there.
    EXPECT_TRUE(contains(settingsFile(), "Key=\"Screen.VSync\" Value=\"0\"")) << settingsFile();
}

} // namespace
} // namespace zor::test
