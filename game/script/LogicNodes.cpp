#include "game/script/LogicNodes.h"

#include "game/script/ScriptNodeRegistry.h"
#include "game/script/ScriptProperties.h"

#include <algorithm>

namespace zor {

void ScriptNodeAlways::readProperties(const ScriptProperties& properties) {
    m_triggerCount = properties.integer("Trigger Count");
}

void ScriptNodeAlways::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    if (m_triggerCount < 0) {
        emit(false, data, outputs);
        return;
    }
    emit(true, data, outputs);
    if (m_triggerCount > 0) m_triggerCount = m_triggerCount == 1 ? -1 : m_triggerCount - 1;
}

void ScriptNodeToggle::readProperties(const ScriptProperties& properties) {
    m_toggleable = properties.flag("Toggleable");
    m_on = properties.flag("On");
}

void ScriptNodeToggle::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    if (anyInputTrue(data) && (m_toggleable || !m_toggledOnce)) {
        m_toggledOnce = true;
        m_on = !m_on;
    }
    emit(m_on, data, outputs);
}

void ScriptNodeComment::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    emit(anyInputTrue(data), data, outputs);
}

void ScriptNodeDelay::readProperties(const ScriptProperties& properties) {
    m_remaining = properties.number("Delay");
}

void ScriptNodeDelay::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    bool fire = false;
    if (m_running || anyInputTrue(data)) {
        m_running = true;
        if (m_remaining > 0.0f) {
            m_remaining -= data.dt;
            if (m_remaining <= 0.0f) {
                m_remaining = 0.0f;
                m_running = false;
                fire = true;
            }
        }
    }
    emit(fire, data, outputs);
}

void ScriptNodeCooldown::readProperties(const ScriptProperties& properties) {
    m_cooldown = properties.number("Cooldown");
    m_timer = properties.number("Start");
}

void ScriptNodeCooldown::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    m_timer = std::max(m_timer - data.dt, 0.0f);
    const bool open = m_timer == 0.0f && anyInputTrue(data);
    if (open) m_timer = m_cooldown;
    emit(open, data, outputs);
}

void ScriptNodeOnce::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    const bool fire = !m_fired && anyInputTrue(data);
    if (fire) m_fired = true;
    emit(fire, data, outputs);
}

void ScriptNodeAlternate::readProperties(const ScriptProperties& properties) {
    // A start outside the four groups would index past them: taken round into 0 to 3.
    m_index = ((properties.integer("Start") % GroupCount) + GroupCount) % GroupCount;
    m_times = properties.integer("Times");
    m_skipEmpty = properties.flag("SkipEmpty");
}

void ScriptNodeAlternate::connectedBySlot(const std::string& slot, const std::shared_ptr<ScriptConnection>& connection) {
    if (slot.size() != 4 || slot.compare(0, 3, "out") != 0 || slot[3] < '1' || slot[3] > '4') return;
    m_outs[std::size_t(slot[3] - '1')].push_back(connection);
}

void ScriptNodeAlternate::advance() {
    m_index = (m_index + 1) % GroupCount;
    if (m_index == 0 && m_times > 0) m_times = m_times == 1 ? -1 : m_times - 1;
}

void ScriptNodeAlternate::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    std::int32_t fire = -1;
    if (m_times >= 0 && anyInputTrue(data)) {
        if (m_skipEmpty) {
            std::int32_t advances = 0;
            while (m_outs[std::size_t(m_index)].empty()) {
                if (advances == GroupCount) {
                    m_times = -1;
                    break;
                }
                advance();
                ++advances;
            }
        }
        if (m_times >= 0) {
            fire = m_index;
            advance();
        }
    }
    for (std::int32_t group = 0; group < GroupCount; ++group) emit(group == fire, data, m_outs[std::size_t(group)]);
}

void ScriptNodeAnd::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    bool all = true;
    for (const auto& input : inputs) all = all && input->value;
    emit(all, data, outputs);
}

void ScriptNodeOr::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    emit(anyInputTrue(data), data, outputs);
}

void ScriptNodeNot::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    emit(!anyInputTrue(data), data, outputs);
}

void ScriptNodeXor::update(ScriptUpdateData& data) {
    if (!passGate(data)) return;
    bool odd = false;
    for (const auto& input : inputs) odd = odd != input->value;
    emit(odd, data, outputs);
}

void registerLogicScriptNodes() {
    registerScriptNodeType("Always", &makeScriptNode<ScriptNodeAlways>);
    registerScriptNodeType("Toggle", &makeScriptNode<ScriptNodeToggle>);
    registerScriptNodeType("Comment", &makeScriptNode<ScriptNodeComment>);
    registerScriptNodeType("Delay", &makeScriptNode<ScriptNodeDelay>);
    registerScriptNodeType("Cooldown", &makeScriptNode<ScriptNodeCooldown>);
    registerScriptNodeType("Once", &makeScriptNode<ScriptNodeOnce>);
    registerScriptNodeType("Alternate", &makeScriptNode<ScriptNodeAlternate>);
    registerScriptNodeType("And", &makeScriptNode<ScriptNodeAnd>);
    registerScriptNodeType("Or", &makeScriptNode<ScriptNodeOr>);
    registerScriptNodeType("Not", &makeScriptNode<ScriptNodeNot>);
    registerScriptNodeType("Xor", &makeScriptNode<ScriptNodeXor>);
}

} // namespace zor
