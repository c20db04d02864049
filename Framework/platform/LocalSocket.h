#pragma once
// A named local message channel between programs of the same user: a Unix-domain packet
// socket in the user's runtime folder ($XDG_RUNTIME_DIR, else the temporary folder).
// Each connection carries one message, which the server answers with one byte once it has
// it; only the owner of the socket may connect.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

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

    // Connections served at once; when more wait, the one open longest is dropped.
    static constexpr std::size_t kMaxOpenConnections = 32;

    // Creates the socket, readable and writable by its owner only. A stale socket left by
    // an ended program is replaced; a live one, or a file that is not our socket, is not.
    explicit LocalSocketServer(const std::string& name);
    ~LocalSocketServer();
    LocalSocketServer(const LocalSocketServer&) = delete;
    LocalSocketServer& operator=(const LocalSocketServer&) = delete;

    bool isOpen() const { return m_listenFd >= 0; }
    const std::string& path() const { return m_path; }
    const std::string& error() const { return m_error; }

    // Serves the open connections and new ones side by side until one brings its message
    // of at most `limit` bytes, or one is dropped: a longer message is dropped whole, and a
    // connection that stays silent for a while is closed, without holding the others
    // back. The handler runs, then the sender is told the message was taken, and the
    // connection is closed.
    Result receive(std::size_t limit, const MessageHandler& handler);

    // Makes a waiting receive(), and every later one, return Woken. Safe from any thread.
    void wake();

private:
    struct Connection {
        int fd;
        long long deadline;  // milliseconds of the steady clock
    };

    Result fail(const std::string& what);
    void acceptWaiting();
    Result readMessage(int connection, std::size_t limit, const MessageHandler& handler);
    void closeConnection(std::size_t index);

    std::string m_path;
    std::string m_error;
    int m_listenFd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    unsigned long m_inode = 0; // of the socket file we bound, so we never remove another's
    std::vector<Connection> m_connections; // oldest first
};

// Sends `text` as one message to the named channel and waits until the server reports it
// has the whole message: true then. Connecting and sending give up after a few seconds (a
// server that takes no connections), and so does the wait for the report; false, with a
// reason, on any failure.
bool sendLocalMessage(const std::string& name, const std::string& text, std::string* error = nullptr);

} // namespace zor
