#include "game/script/ScriptSystem.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/system/OnScreenLog.h"

namespace zor {

namespace {

constexpr std::int32_t LogSinkNumber = 22;

void showLogLine(const std::string& line, LogHandler::LevelType level) {
    if (LogHandler::isError(level))
        addOnScreenLogLine(line, ScriptSystem::LogId, 1000.0f, PackedColor::fromChannels(255, 0, 0, 255));
    else
        addOnScreenLogLine(line, ScriptSystem::LogId, 10.0f, PackedColor::fromChannels(255, 255, 255, 255));
}

} // namespace

ScriptSystem::ScriptSystem() {
    // Every info line over the play would hide it: shown only on request, as the engine's log.
    if (coreDebugFlags().showLog && LogHandler::exists())
        m_logSinkId = LogHandler::instance().addSink(&showLogLine, LogSinkNumber, LogHandler::Info, "%1%");
}

ScriptSystem::~ScriptSystem() {
    if (m_logSinkId == 0) return;
    if (LogHandler::exists()) LogHandler::instance().removeSink(m_logSinkId);
    if (DebugDraw::exists()) DebugDraw::instance().screenLayer.expireLog(LogId);
}

ScriptNode& ScriptSystem::addNode(std::unique_ptr<ScriptNode> node) {
    m_nodes.push_back(std::move(node));
    return *m_nodes.back();
}

void ScriptSystem::addStartNode(ScriptNode& node) { m_startNodes.push_back(&node); }

void ScriptSystem::update(float dt) {
    if (m_startNodes.empty()) return;
    m_workStack.reserve(m_startNodes.size());
    m_workStack.insert(m_workStack.end(), m_startNodes.rbegin(), m_startNodes.rend());
    ScriptUpdateData data{dt, m_tick, &m_nextNodes};
    while (!m_workStack.empty()) {
        ScriptNode* node = m_workStack.back();
        m_workStack.pop_back();
        node->update(data);
        // The first emitted connection's target is visited next.
        m_workStack.insert(m_workStack.end(), m_nextNodes.rbegin(), m_nextNodes.rend());
        m_nextNodes.clear();
    }
    ++m_tick;
}

} // namespace zor
