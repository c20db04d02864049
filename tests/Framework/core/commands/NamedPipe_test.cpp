#include "Framework/core/commands/NamedPipe.h"
#include "Framework/platform/LocalSocket.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zor {
namespace {

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

TEST_F(NamedPipeTest, MessagesArriveThroughTheSocketAndAreJoinedUntilTaken) {
    NamedPipe pipe(name);
    ASSERT_TRUE(pipe.isServing());
    EXPECT_EQ(localSocketPath(name), (runtime / name).string());

    EXPECT_EQ(pipe.takeText(), "");
    send(R"("-set" "Screen.VSync" "0")");
    send(R"("-set" "Debug.SetLevel" "Lantern Hollow")");
    EXPECT_EQ(pipe.takeText(), R"("-set" "Screen.VSync" "0" "-set" "Debug.SetLevel" "Lantern Hollow")");
    EXPECT_EQ(pipe.takeText(), "");

    send("next");
    EXPECT_EQ(pipe.takeText(), "next");
}

TEST_F(NamedPipeTest, AMessageOverTheLimitIsDroppedWholeAndTheChannelGoesOn) {
    NamedPipe pipe(name);
    const std::string full(NamedPipe::kMessageLimit, 'a');
    send(full);
    EXPECT_EQ(pipe.takeText(), full);

    send(std::string(NamedPipe::kMessageLimit + 1, 'b'));
    send("after");
    EXPECT_EQ(pipe.takeText(), "after");
}

TEST_F(NamedPipeTest, TextEndsAtAZeroByteAndEmptyMessagesAddNothing) {
    NamedPipe pipe(name);
    send(std::string("first\0hidden", 12));
    send(std::string("\0tail", 5));
    send("second");
    EXPECT_EQ(pipe.takeText(), "first second");
}

TEST_F(NamedPipeTest, AClientThatLeavesWithoutSendingDoesNotBlockOthers) {
    NamedPipe pipe(name);
    {
        int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = localSocketPath(name);
        path.copy(address.sun_path, path.size());
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    send("hello");
    EXPECT_EQ(pipe.takeText(), "hello");
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
    EXPECT_EQ(first.takeText(), "still first");

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
