#pragma once
// The script graph of one loaded level and its pass, once per game step: the start nodes
// in record order, each one's downstream cascade depth-first before the next, the first
// connection's subtree first. A pass allocates nothing once its two stacks have grown.
//
// With the debug flag "showLog" on, the log's lines are shown on screen while the graph
// lives. Made and destroyed on the worker with the level build and the Game; the log and
// the debug drawing take their own locks.

#include "game/script/ScriptNode.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zor {

class ScriptSystem {
public:
    // The id of the on-screen log of the scripts.
    static constexpr std::uintptr_t LogId = 768516;

    ScriptSystem();
    ~ScriptSystem();
    ScriptSystem(const ScriptSystem&) = delete;
    ScriptSystem& operator=(const ScriptSystem&) = delete;

    // One pass; without start nodes nothing runs and the tick stays.
    void update(float dt);

    // The system owns its nodes; start nodes are visited in the order they are added.
    ScriptNode& addNode(std::unique_ptr<ScriptNode> node);
    void addStartNode(ScriptNode& node);

    std::uint32_t tick() const { return m_tick; }
    const std::vector<std::unique_ptr<ScriptNode>>& nodes() const { return m_nodes; }

private:
    std::vector<ScriptNode*> m_startNodes;
    std::int32_t m_logSinkId = 0;
    std::uint32_t m_tick = 1;
    std::vector<ScriptNode*> m_workStack;
    std::vector<ScriptNode*> m_nextNodes;
    std::vector<std::unique_ptr<ScriptNode>> m_nodes;
};

} // namespace zor
