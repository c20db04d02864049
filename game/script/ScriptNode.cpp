#include "game/script/ScriptNode.h"

#include <atomic>

namespace zor {

namespace {

// Nodes are made on the worker during level builds and in tests on any thread.
std::atomic<std::uint32_t> nextNodeId{1};

} // namespace

ScriptNode::ScriptNode(std::string type) : type(std::move(type)), id(nextNodeId.fetch_add(1)) {
    name = std::to_string(id) + this->type;
}

bool ScriptNode::allInputsStamped(const ScriptUpdateData& data) const {
    for (const auto& input : inputs)
        if (input->tick != data.tick) return false;
    return true;
}

bool ScriptNode::anyInputTrue(const ScriptUpdateData& data) const {
    for (const auto& input : inputs)
        if (input->tick == data.tick && input->value) return true;
    return false;
}

void ScriptNode::emit(bool value, ScriptUpdateData& data, const ScriptConnections& connections) {
    for (const auto& connection : connections) {
        connection->tick = data.tick;
        connection->value = value;
        data.next->push_back(connection->to);
    }
}

bool ScriptNode::passGate(const ScriptUpdateData& data) {
    if (!allInputsStamped(data) || m_lastTick >= data.tick) return false;
    m_lastTick = data.tick;
    return true;
}

std::shared_ptr<ScriptConnection> connectScriptNodes(ScriptNode& from, ScriptNode& to) {
    auto connection = std::make_shared<ScriptConnection>();
    connection->from = &from;
    connection->to = &to;
    from.outputs.push_back(connection);
    to.inputs.push_back(connection);
    return connection;
}

} // namespace zor
