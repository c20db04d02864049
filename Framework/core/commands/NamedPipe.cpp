#include "Framework/core/commands/NamedPipe.h"

#include <system_error>

namespace zor {

NamedPipe::NamedPipe(const std::string& name) : m_server(name) {
    if (!m_server.isOpen()) return;
    try {
        m_thread = std::make_unique<Thread>([this] { serve(); });
    } catch (const std::system_error&) {
        // Without a thread nobody listens; the game runs on without the channel.
    }
}

NamedPipe::~NamedPipe() {
    if (!m_thread) return;
    m_server.wake();
    m_thread->join();
}

std::string NamedPipe::takeText() {
    Mutex::ScopedLock lock(m_mutex);
    std::string text;
    text.swap(m_receivedText);
    return text;
}

void NamedPipe::serve() {
    const auto append = [this](const std::string& message) {
        // Command text ends at its first zero byte.
        const std::string text = message.substr(0, message.find('\0'));
        if (text.empty()) return;
        Mutex::ScopedLock lock(m_mutex);
        if (!m_receivedText.empty()) m_receivedText += ' ';
        m_receivedText += text;
    };
    for (;;) {
        const LocalSocketServer::Result result = m_server.receive(kMessageLimit, append);
        if (result == LocalSocketServer::Result::Woken || result == LocalSocketServer::Result::Failed) return;
    }
}

} // namespace zor
