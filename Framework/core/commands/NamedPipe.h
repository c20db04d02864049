#pragma once
// The level-editor channel: a local socket served by its own thread. Each connection
// carries one message of command text (words in double quotes, as runPipeText reads
// them); no reply is sent. The main thread takes what arrived once per frame.

#include "Framework/core/threads/Mutex.h"
#include "Framework/core/threads/Thread.h"
#include "Framework/platform/LocalSocket.h"

#include <cstddef>
#include <memory>
#include <string>

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

    // The text received since the last call (messages joined by a blank), and empties it.
    std::string takeText();

    bool isServing() const { return m_thread && m_thread->isRunning(); }

private:
    void serve();

    LocalSocketServer m_server;
    Mutex m_mutex;
    std::string m_receivedText;
    std::unique_ptr<Thread> m_thread;
};

} // namespace zor
