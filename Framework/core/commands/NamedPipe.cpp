#include "Framework/core/commands/NamedPipe.h"

#include "Framework/core/log/LogHandler.h"

#include <system_error>

namespace zor {

NamedPipe::NamedPipe(const std::string& name) : m_server(name) {
    if (!m_server.isOpen()) {
        LogHandler::log(LogHandler::Warning, "NamedPipe", "Level-editor channel closed: " + m_server.error());
        return;
    }
    try {
        m_thread = std::make_unique<Thread>([this] { serve(); });
    } catch (const std::system_error& error) {
        LogHandler::log(LogHandler::Warning, "NamedPipe", std::string("Level-editor channel closed: ") + error.what());
    }
}

NamedPipe::~NamedPipe() {
    if (!m_thread) return;
    m_server.wake();
    m_thread->join();
}

std::vector<std::string> NamedPipe::takeMessages() {
    Mutex::ScopedLock lock(m_mutex);
    std::vector<std::string> messages;
    messages.swap(m_received);
    return messages;
}

void NamedPipe::serve() {
    const auto append = [this](const std::string& message) {
        // Command text ends at its first zero byte.
        const std::string text = message.substr(0, message.find('\0'));
        if (text.empty()) return;
        Mutex::ScopedLock lock(m_mutex);
        m_received.push_back(text);
    };
    for (;;) {
        switch (m_server.receive(kMessageLimit, append)) {
        case LocalSocketServer::Result::Message:
        case LocalSocketServer::Result::Dropped:
            break;
        case LocalSocketServer::Result::Woken:
            return;
        case LocalSocketServer::Result::Failed:
            LogHandler::log(LogHandler::Warning, "NamedPipe", "Level-editor channel closed: " + m_server.error());
            return;
        }
    }
}

} // namespace zor
