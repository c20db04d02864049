#include "Framework/core/commands/Commands.h"
#include "Framework/core/commands/NamedPipe.h"
#include "Framework/platform/LocalSocket.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zor {
namespace {

using Messages = std::vector<std::string>;
using namespace std::chrono_literals;

// A connection to the channel that sends nothing.
int connectSilently(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Each test serves its own channel in a private runtime folder.
class NamedPipeTest : public ::testing::Test {
protected:
    test::TempFolder runtime;
    test::ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.path().string()};
    const std::string name = "zor_leveleditor_pipe";

    void send(const std::string& text) {
        std::string error;
        ASSERT_TRUE(sendLocalMessage(name, text, &error)) << error;
    }
};

TEST_F(NamedPipeTest, MessagesArriveThroughTheSocketAndWaitApartUntilTaken) {
    NamedPipe pipe(name);
    ASSERT_TRUE(pipe.isServing());
    EXPECT_EQ(localSocketPath(name), (runtime / name).string());

    EXPECT_EQ(pipe.takeMessages(), Messages{});
    send(R"("-set" "Screen.VSync" "0")");
    send(R"("-set" "Debug.SetLevel" "Lantern Hollow")");
    EXPECT_EQ(pipe.takeMessages(),
              (Messages{R"("-set" "Screen.VSync" "0")", R"("-set" "Debug.SetLevel" "Lantern Hollow")"}));
    EXPECT_EQ(pipe.takeMessages(), Messages{});

    send("next");
    EXPECT_EQ(pipe.takeMessages(), Messages{"next"});
}

TEST_F(NamedPipeTest, TwentyPairsOfBackToBackMessagesOneMalformedRunExactlyAsSent) {
    std::vector<std::string> ran;
    registerCommand("set", 2, [&ran](const Messages& words) { ran.push_back("set " + words[0] + "=" + words[1]); });
    registerCommand("debug", 2, [&ran](const Messages& words) { ran.push_back("debug " + words[0] + "/" + words[1]); });
    NamedPipe pipe(name);

    // Each pair as two senders would send it, the next right after the last one returned.
    std::vector<std::string> expected;
    std::thread sender([&] {
        for (int pair = 0; pair < 20; ++pair) {
            if (pair == 7) {
                send(R"("-set" "Screen.VSync")");  // one word short
            } else {
                send("\"-set\" \"Screen.VSync\" \"" + std::to_string(pair % 2) + "\"");
            }
            send(R"("-debug" "perf" "minmax")");
        }
    });
    for (int pair = 0; pair < 20; ++pair) {
        if (pair != 7) expected.push_back("set Screen.VSync=" + std::to_string(pair % 2));
        expected.push_back("debug perf/minmax");
    }
    // Taken as the main loop takes them, once a frame, while they come in.
    Messages received;
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (received.size() < 40 && std::chrono::steady_clock::now() < end) {
        for (std::string& message : pipe.takeMessages()) received.push_back(std::move(message));
        std::this_thread::sleep_for(2ms);
    }
    sender.join();
    ASSERT_EQ(received.size(), 40u);
    for (const std::string& message : received) runPipeText(message);
    EXPECT_EQ(ran, expected);
}

TEST_F(NamedPipeTest, AMessageGetsThroughWhileTenSilentConnectionsAreOpen) {
    NamedPipe pipe(name);
    std::vector<int> silent;
    for (int i = 0; i < 10; ++i) silent.push_back(connectSilently(localSocketPath(name)));
    const auto started = std::chrono::steady_clock::now();
    send(R"("-set" "Screen.VSync" "0")");
    // Well before the silent ones are given up.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    EXPECT_EQ(pipe.takeMessages(), Messages{R"("-set" "Screen.VSync" "0")"});
    for (const int fd : silent) {
        EXPECT_GE(fd, 0);
        ::close(fd);
    }
}

TEST_F(NamedPipeTest, ASenderGivesUpWithinItsLimitWhenNoOneTakesTheConnection) {
    // A socket whose owner never accepts, its queue of waiting connections full.
    const std::string path = localSocketPath(name);
    const int server = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 0), 0);
    std::vector<int> waiting;
    for (int i = 0; i < 64; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            break;
        }
        waiting.push_back(fd);
    }
    const auto started = std::chrono::steady_clock::now();
    std::string error;
    EXPECT_FALSE(sendLocalMessage(name, "hello", &error));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, 15s);
    EXPECT_FALSE(error.empty());
    for (const int fd : waiting) ::close(fd);
    ::close(server);
}

TEST_F(NamedPipeTest, AMessageOverTheLimitIsDroppedWholeAndTheChannelGoesOn) {
    NamedPipe pipe(name);
    const std::string full(NamedPipe::kMessageLimit, 'a');
    send(full);
    EXPECT_EQ(pipe.takeMessages(), Messages{full});

    std::string error;
    EXPECT_FALSE(sendLocalMessage(name, std::string(NamedPipe::kMessageLimit + 1, 'b'), &error));
    EXPECT_EQ(error, "the server did not take the message");
    send("after");
    EXPECT_EQ(pipe.takeMessages(), Messages{"after"});
}

TEST_F(NamedPipeTest, TextEndsAtAZeroByteAndEmptyMessagesAddNothing) {
    NamedPipe pipe(name);
    send(std::string("first\0hidden", 12));
    send(std::string("\0tail", 5));
    send("second");
    EXPECT_EQ(pipe.takeMessages(), (Messages{"first", "second"}));
}

TEST_F(NamedPipeTest, AClientThatLeavesWithoutSendingDoesNotBlockOthers) {
    NamedPipe pipe(name);
    ::close(connectSilently(localSocketPath(name)));
    send("hello");
    EXPECT_EQ(pipe.takeMessages(), Messages{"hello"});
}

TEST_F(NamedPipeTest, OnlyTheOwnerMayUseTheSocketAndItIsRemovedAtTheEnd) {
    const std::string path = localSocketPath(name);
    {
        NamedPipe pipe(name);
        struct stat info;
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(info.st_uid, ::geteuid());
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    std::string error;
    EXPECT_FALSE(sendLocalMessage(name, "nobody", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(NamedPipeTest, AStaleSocketIsReplacedButALiveOneOrAPlainFileIsLeftAlone) {
    const std::string path = localSocketPath(name);
    {
        // A socket file left behind by a program that ended without removing it.
        int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, path.size());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    NamedPipe first(name);
    ASSERT_TRUE(first.isServing());
    {
        NamedPipe second(name);
        EXPECT_FALSE(second.isServing());
    }
    send("still first");
    EXPECT_EQ(first.takeMessages(), Messages{"still first"});

    runtime.write("plain", "keep me");
    NamedPipe onFile("plain");
    EXPECT_FALSE(onFile.isServing());
    EXPECT_EQ(runtime.read("plain"), "keep me");
}

TEST_F(NamedPipeTest, WithoutARuntimeFolderTheTemporaryFolderIsUsed) {
    test::ScopedEnv noRuntime("XDG_RUNTIME_DIR", "");
    test::ScopedEnv temp("TMPDIR", runtime.path().string());
    EXPECT_EQ(localSocketPath(name), (runtime / name).string());
}

TEST_F(NamedPipeTest, DestroyingAnIdlePipeStopsItsThread) {
    for (int i = 0; i < 20; ++i) {
        NamedPipe pipe(name);
        EXPECT_TRUE(pipe.isServing());
    }
}

} // namespace
} // namespace zor
