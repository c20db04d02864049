#include "Framework/platform/LocalSocket.h"
#include "Framework/platform/FileDescriptor.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zor {

namespace {

// A client that connects and then stays silent must not hold the channel.
constexpr int kMessageWaitMs = 2000;
constexpr int kAnswerWaitMs = 5000;

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

bool makeAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

int connectTo(const std::string& path) {
    sockaddr_un address;
    if (!makeAddress(path, address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

bool isTransient(int error) {
    return error == EINTR || error == EAGAIN || error == ECONNABORTED || error == EPROTO ||
           error == ENOBUFS || error == ENOMEM;
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
        ::listen(fd, 8) != 0) {
        m_error = systemError("set up " + m_path);
        ::close(fd);
        ::unlink(m_path.c_str());
        return;
    }
    m_inode = static_cast<unsigned long>(bound.st_ino);
    m_listenFd = fd;
}

LocalSocketServer::~LocalSocketServer() {
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

LocalSocketServer::Result LocalSocketServer::receive(std::size_t limit, const MessageHandler& handler) {
    if (m_listenFd < 0) return Result::Failed;
    pollfd waits[2] = {{m_wakeRead, POLLIN, 0}, {m_listenFd, POLLIN, 0}};
    if (::poll(waits, 2, -1) < 0) return errno == EINTR ? Result::Dropped : fail("poll");
    if (waits[0].revents) return Result::Woken;
    if (!(waits[1].revents & POLLIN)) return waits[1].revents ? fail("listen socket") : Result::Dropped;

    FileDescriptor connection(::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC));
    if (connection.get() < 0) return isTransient(errno) ? Result::Dropped : fail("accept");

    ucred peer;
    socklen_t peerSize = sizeof peer;
    if (::getsockopt(connection.get(), SOL_SOCKET, SO_PEERCRED, &peer, &peerSize) != 0 ||
        peer.uid != ::geteuid())
        return Result::Dropped;
    return readMessage(connection.get(), limit, handler);
}

LocalSocketServer::Result LocalSocketServer::readMessage(int connection, std::size_t limit,
                                                         const MessageHandler& handler) {
    pollfd waits[2] = {{m_wakeRead, POLLIN, 0}, {connection, POLLIN, 0}};
    int ready = ::poll(waits, 2, kMessageWaitMs);
    if (ready < 0) return errno == EINTR ? Result::Dropped : fail("poll");
    if (waits[0].revents) return Result::Woken;
    if (ready == 0) return Result::Dropped;

    // The buffer is as long as the limit; the received length, not a terminator, ends the text.
    std::vector<char> buffer(limit > 0 ? limit : 1);
    iovec part{buffer.data(), limit};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    ssize_t received = ::recvmsg(connection, &header, MSG_DONTWAIT);
    if (received <= 0 || (header.msg_flags & MSG_TRUNC)) return Result::Dropped;
    handler(std::string(buffer.data(), static_cast<std::size_t>(received)));
    return Result::Message;
}

bool sendLocalMessage(const std::string& name, const std::string& text, std::string* error) {
    const std::string path = localSocketPath(name);
    FileDescriptor fd(connectTo(path));
    if (fd.get() < 0) {
        if (error) *error = systemError("connect " + path);
        return false;
    }
    ssize_t sent = ::send(fd.get(), text.data(), text.size(), MSG_NOSIGNAL);
    if (sent != static_cast<ssize_t>(text.size())) {
        if (error) *error = sent < 0 ? systemError("send") : "message cut short";
        return false;
    }
    // The server sends nothing back; the end of the connection means it has been handled.
    pollfd wait{fd.get(), POLLIN, 0};
    int ready;
    do ready = ::poll(&wait, 1, kAnswerWaitMs);
    while (ready < 0 && errno == EINTR);
    char ignored;
    if (ready <= 0 || ::recv(fd.get(), &ignored, 1, MSG_DONTWAIT) != 0) {
        if (error) *error = ready < 0 ? systemError("poll") : "the server did not take the message";
        return false;
    }
    return true;
}

} // namespace zor
