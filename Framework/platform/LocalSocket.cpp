#include "Framework/platform/LocalSocket.h"
#include "Framework/platform/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zor {

namespace {

// A client that connects and then stays silent is dropped after this long.
constexpr long long kMessageWaitMs = 2000;
// The sender's limits: for connecting and sending, then for the server's answer.
constexpr long long kSendWaitMs = 5000;
constexpr long long kAnswerWaitMs = 5000;
// The answer: the server has the whole message.
constexpr char kTaken = 6;

long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits for the event until the deadline; the result of poll (0 on time-out).
int pollUntil(int fd, short events, long long deadline) {
    for (;;) {
        pollfd wait{fd, events, 0};
        const int ready = ::poll(&wait, 1, int(std::max(0LL, deadline - nowMs())));
        if (ready >= 0 || errno != EINTR) return ready;
    }
}

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

bool makeAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

// A connection to the path; a non-blocking one (for the sender) gives up at the deadline
// when the server's queue of waiting connections stays full.
int connectTo(const std::string& path, bool nonBlocking = false, long long deadline = 0) {
    sockaddr_un address;
    if (!makeAddress(path, address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    if (fd < 0) return -1;
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
        if (errno == EINTR) continue;
        // A full queue: the server is busy or takes no connections; try again shortly.
        if (nonBlocking && errno == EAGAIN && nowMs() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        const int saved = errno == EAGAIN ? ETIMEDOUT : errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
}

} // namespace

std::string localSocketPath(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::filesystem::path folder;
    if (runtime && *runtime) {
        folder = runtime;
    } else {
        std::error_code ignored;
        folder = std::filesystem::temp_directory_path(ignored);
        if (folder.empty()) folder = "/tmp";
    }
    return (folder / name).string();
}

LocalSocketServer::LocalSocketServer(const std::string& name) : m_path(localSocketPath(name)) {
    sockaddr_un address;
    if (!makeAddress(m_path, address)) {
        m_error = "socket path too long: " + m_path;
        return;
    }
    struct stat existing;
    if (::lstat(m_path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode) || existing.st_uid != ::geteuid()) {
            m_error = "not our socket: " + m_path;
            return;
        }
        int live = connectTo(m_path);
        if (live >= 0) {
            ::close(live);
            m_error = "another program serves " + m_path;
            return;
        }
        ::unlink(m_path.c_str());
    }

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = systemError("pipe");
        return;
    }
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];

    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        m_error = systemError("socket");
        return;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        m_error = systemError("bind " + m_path);
        ::close(fd);
        return;
    }
    // A connection slipping in before the mode change is refused by the peer check.
    struct stat bound;
    if (::chmod(m_path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::lstat(m_path.c_str(), &bound) != 0 ||
        ::listen(fd, 16) != 0 || ::fcntl(fd, F_SETFL, O_NONBLOCK) != 0) {
        m_error = systemError("set up " + m_path);
        ::close(fd);
        ::unlink(m_path.c_str());
        return;
    }
    m_inode = static_cast<unsigned long>(bound.st_ino);
    m_listenFd = fd;
}

LocalSocketServer::~LocalSocketServer() {
    for (const Connection& connection : m_connections) ::close(connection.fd);
    if (m_listenFd >= 0) {
        struct stat current;
        if (::lstat(m_path.c_str(), &current) == 0 && static_cast<unsigned long>(current.st_ino) == m_inode)
            ::unlink(m_path.c_str());
        ::close(m_listenFd);
    }
    if (m_wakeRead >= 0) ::close(m_wakeRead);
    if (m_wakeWrite >= 0) ::close(m_wakeWrite);
}

void LocalSocketServer::wake() {
    if (m_wakeWrite < 0) return;
    const char byte = 1;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] ssize_t written = ::write(m_wakeWrite, &byte, 1);
}

LocalSocketServer::Result LocalSocketServer::fail(const std::string& what) {
    m_error = systemError(what);
    return Result::Failed;
}

void LocalSocketServer::closeConnection(std::size_t index) {
    ::close(m_connections[index].fd);
    m_connections.erase(m_connections.begin() + std::ptrdiff_t(index));
}

void LocalSocketServer::acceptWaiting() {
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;  // none left, or a transient failure; the next poll tells
        ucred peer;
        socklen_t peerSize = sizeof peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &peerSize) != 0 || peer.uid != ::geteuid()) {
            ::close(fd);
            continue;
        }
        if (m_connections.size() >= kMaxOpenConnections) closeConnection(0);
        m_connections.push_back({fd, nowMs() + kMessageWaitMs});
    }
}

LocalSocketServer::Result LocalSocketServer::receive(std::size_t limit, const MessageHandler& handler) {
    if (m_listenFd < 0) return Result::Failed;
    for (;;) {
        std::vector<pollfd> waits = {{m_wakeRead, POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        long long firstDeadline = -1;
        for (const Connection& connection : m_connections) {
            waits.push_back({connection.fd, POLLIN, 0});
            if (firstDeadline < 0 || connection.deadline < firstDeadline) firstDeadline = connection.deadline;
        }
        const int timeout = firstDeadline < 0 ? -1 : int(std::max(0LL, firstDeadline - nowMs()));
        if (::poll(waits.data(), nfds_t(waits.size()), timeout) < 0) {
            if (errno == EINTR) continue;
            return fail("poll");
        }
        if (waits[0].revents) return Result::Woken;
        if (waits[1].revents & ~POLLIN) return fail("listen socket");

        // A connection that spoke (or hung up) is served first; silent ones past their time
        // are dropped.
        const long long now = nowMs();
        for (std::size_t i = 0; i < m_connections.size(); ++i) {
            const int fd = m_connections[i].fd;
            if (waits[i + 2].revents) {
                const Result result = readMessage(fd, limit, handler);
                closeConnection(i);
                return result;
            }
            if (m_connections[i].deadline <= now) {
                closeConnection(i);
                return Result::Dropped;
            }
        }
        if (waits[1].revents & POLLIN) acceptWaiting();
    }
}

LocalSocketServer::Result LocalSocketServer::readMessage(int connection, std::size_t limit,
                                                         const MessageHandler& handler) {
    // The buffer is as long as the limit; the received length, not a terminator, ends the text.
    std::vector<char> buffer(limit > 0 ? limit : 1);
    iovec part{buffer.data(), limit};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    const ssize_t received = ::recvmsg(connection, &header, MSG_DONTWAIT);
    if (received <= 0 || (header.msg_flags & MSG_TRUNC)) return Result::Dropped;
    handler(std::string(buffer.data(), static_cast<std::size_t>(received)));
    // A sender that no longer waits is no fault.
    ::send(connection, &kTaken, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    return Result::Message;
}

bool sendLocalMessage(const std::string& name, const std::string& text, std::string* error) {
    const auto failed = [error](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    const std::string path = localSocketPath(name);
    const long long sendDeadline = nowMs() + kSendWaitMs;
    FileDescriptor fd(connectTo(path, true, sendDeadline));
    if (fd.get() < 0) return failed(systemError("connect " + path));
    for (;;) {
        const ssize_t sent = ::send(fd.get(), text.data(), text.size(), MSG_NOSIGNAL);
        if (sent == static_cast<ssize_t>(text.size())) break;
        if (sent >= 0) return failed("message cut short");
        if (errno == EINTR) continue;
        if (errno != EAGAIN) return failed(systemError("send"));
        const int ready = pollUntil(fd.get(), POLLOUT, sendDeadline);
        if (ready == 0) return failed("the server took no message within its time");
        if (ready < 0) return failed(systemError("poll"));
    }
    const int ready = pollUntil(fd.get(), POLLIN, nowMs() + kAnswerWaitMs);
    if (ready < 0) return failed(systemError("poll"));
    if (ready == 0) return failed("the server did not answer in time; it may still run the message");
    char answer = 0;
    if (::recv(fd.get(), &answer, 1, MSG_DONTWAIT) != 1 || answer != kTaken)
        return failed("the server did not take the message");
    return true;
}

} // namespace zor
