#include "game/script/ScriptSystem.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/screen/Screen.h"

namespace zor {

namespace {

constexpr std::int32_t LogSinkNumber = 22;

void showLogLine(const std::string& line, LogHandler::LevelType level) {
    if (!DebugDraw::exists()) return;
    const bool error = LogHandler::isError(level);
    const PackedColor color = error ? PackedColor::fromChannels(255, 0, 0, 255) : PackedColor::fromChannels(255, 255, 255, 255);
    const float seconds = error ? 1000.0f : 10.0f;
    fpVector2 corner(0.0f, 50.0f);
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    if (!viewports.empty()) {
        const Screen::Viewport& viewport = viewports[viewports.size() >= 2 ? 1 : 0];
        corner = {viewport.virtualWidth, viewport.virtualHeight};
    }
    // Each line is an entry of its own: the line end would only add an empty line.
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    DebugDraw& debugDraw = DebugDraw::instance();
    debugDraw.screenLayer.addLogLine(text, ScriptSystem::LogId, fpRect::fromPoints({0.0f, 50.0f}, corner), seconds,
                                     debugDraw.font(), color);
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
