#pragma once
// A named local message channel between programs of the same user: a Unix-domain packet
// socket in the user's runtime folder ($XDG_RUNTIME_DIR, else the temporary folder).
// Each connection carries one message; only the owner of the socket may connect.

#include <cstddef>
#include <functional>
#include <string>

namespace zor {

// The file path that names the channel.
std::string localSocketPath(const std::string& name);

class LocalSocketServer {
public:
    using MessageHandler = std::function<void(const std::string& message)>;

    enum class Result {
        Message, // one message was received
        Dropped, // a connection brought nothing usable (too long, empty, silent, foreign user)
        Woken,   // wake() was called
        Failed,  // the channel is broken; see error()
    };

    // Creates the socket, readable and writable by its owner only. A stale socket left by
    // an ended program is replaced; a live one, or a file that is not our socket, is not.
    explicit LocalSocketServer(const std::string& name);
    ~LocalSocketServer();
    LocalSocketServer(const LocalSocketServer&) = delete;
    LocalSocketServer& operator=(const LocalSocketServer&) = delete;

    bool isOpen() const { return m_listenFd >= 0; }
    const std::string& path() const { return m_path; }
    const std::string& error() const { return m_error; }

    // Waits for the next connection and reads its one message of at most `limit` bytes; a
    // longer message is dropped whole. The handler runs before the connection is closed,
    // so a sender that waits for the close knows the message has been handled.
    Result receive(std::size_t limit, const MessageHandler& handler);

    // Makes a waiting receive(), and every later one, return Woken. Safe from any thread.
    void wake();

private:
    Result fail(const std::string& what);
    Result readMessage(int connection, std::size_t limit, const MessageHandler& handler);

    std::string m_path;
    std::string m_error;
    int m_listenFd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    unsigned long m_inode = 0; // of the socket file we bound, so we never remove another's
};

// Sends `text` as one message to the named channel and waits (a few seconds at most) until
// the server has handled it and closed the connection; false, with a reason, otherwise.
bool sendLocalMessage(const std::string& name, const std::string& text, std::string* error = nullptr);

} // namespace zor
