#pragma once
// The level-editor channel: a local socket served by its own thread. Each connection
// carries one message of command text (words in double quotes, as runPipeText reads
// them); the sender is told once the message has arrived. The main thread takes what
// arrived once per frame and runs each message on its own, so a short or unterminated
// message never runs into the next.

#include "Framework/core/threads/Mutex.h"
#include "Framework/core/threads/Thread.h"
#include "Framework/platform/LocalSocket.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace zor {

// The channel the level editor talks to.
inline constexpr const char* kLevelEditorPipeName = "zor_leveleditor_pipe";

class NamedPipe {
public:
    // Longest message; a longer one is dropped whole.
    static constexpr std::size_t kMessageLimit = 1024;

    // When the channel cannot be opened the game goes on without level-editor messages.
    explicit NamedPipe(const std::string& name);
    // Wakes the serving thread and joins it.
    virtual ~NamedPipe();
    NamedPipe(const NamedPipe&) = delete;
    NamedPipe& operator=(const NamedPipe&) = delete;

    // The messages received since the last call, in order (each up to its first zero
    // byte; empty ones are left out), and empties the list.
    std::vector<std::string> takeMessages();

    bool isServing() const { return m_thread && m_thread->isRunning(); }

private:
    void serve();

    LocalSocketServer m_server;
    Mutex m_mutex;
    std::vector<std::string> m_received;
    std::unique_ptr<Thread> m_thread;
};

} // namespace zor
