#pragma once
// The logic node types: they combine, delay, count and alternate signals and never touch
// the game. Each runs through the gate of ScriptNode::passGate and emits once per run.

#include "game/script/ScriptNode.h"

#include <array>
#include <cstdint>

namespace zor {

// A start node: true in every pass, or in the first "Trigger Count" passes when that is
// positive (false afterwards); a negative count gives false at once.
class ScriptNodeAlways final : public ScriptNode {
public:
    ScriptNodeAlways() : ScriptNode("Always") {}
    void update(ScriptUpdateData& data) override;
    void readProperties(const ScriptProperties& properties) override;
    bool isStartNode() const override { return true; }

private:
    std::int32_t m_triggerCount = 1;
};

// Emits its state; a true input flips it, once only unless "Toggleable".
class ScriptNodeToggle final : public ScriptNode {
public:
    ScriptNodeToggle() : ScriptNode("Toggle") {}
    void update(ScriptUpdateData& data) override;
    void readProperties(const ScriptProperties& properties) override;

private:
    bool m_toggleable = true;
    bool m_on = false;
    bool m_toggledOnce = false;
};

// A pass-through whose text is only for the editor.
class ScriptNodeComment final : public ScriptNode {
public:
    ScriptNodeComment() : ScriptNode("Comment") {}
    void update(ScriptUpdateData& data) override;
};

// Fires once, "Delay" seconds of game time (at step granularity) after its first true
// input; the countdown goes on without inputs. A delay of 0 or less never fires.
class ScriptNodeDelay final : public ScriptNode {
public:
    ScriptNodeDelay() : ScriptNode("Delay") {}
    void update(ScriptUpdateData& data) override;
    void readProperties(const ScriptProperties& properties) override;

private:
    float m_remaining = 0.0f;
    bool m_running = false;
};

// Lets a true input through, then nothing for "Cooldown" seconds of its runs; "Start" is
// the time before the first.
class ScriptNodeCooldown final : public ScriptNode {
public:
    ScriptNodeCooldown() : ScriptNode("Cooldown") {}
    void update(ScriptUpdateData& data) override;
    void readProperties(const ScriptProperties& properties) override;

private:
    float m_cooldown = 1.0f;
    float m_timer = 0.0f;
};

// True in the first run with a true input, false in every other.
class ScriptNodeOnce final : public ScriptNode {
public:
    ScriptNodeOnce() : ScriptNode("Once") {}
    void update(ScriptUpdateData& data) override;

private:
    bool m_fired = false;
};

// Round robin over four output groups, the links "out1" to "out4": each true input fires
// the next group, from group "Start". "Times" N > 0 ends it after N wraps back to out1, a
// negative "Times" disables it; "SkipEmpty" passes over groups without connections.
// Its other connections are never fed.
class ScriptNodeAlternate final : public ScriptNode {
public:
    static constexpr std::int32_t GroupCount = 4;

    ScriptNodeAlternate() : ScriptNode("Alternate") {}
    void update(ScriptUpdateData& data) override;
    void readProperties(const ScriptProperties& properties) override;
    void connectedBySlot(const std::string& slot, const std::shared_ptr<ScriptConnection>& connection) override;

private:
    void advance();

    std::int32_t m_index = 0;
    std::int32_t m_times = 0;
    bool m_skipEmpty = true;
    std::array<ScriptConnections, GroupCount> m_outs;
};

class ScriptNodeAnd final : public ScriptNode {
public:
    ScriptNodeAnd() : ScriptNode("And") {}
    void update(ScriptUpdateData& data) override;
};

class ScriptNodeOr final : public ScriptNode {
public:
    ScriptNodeOr() : ScriptNode("Or") {}
    void update(ScriptUpdateData& data) override;
};

// True when no input is true.
class ScriptNodeNot final : public ScriptNode {
public:
    ScriptNodeNot() : ScriptNode("Not") {}
    void update(ScriptUpdateData& data) override;
};

// True when an odd number of inputs are true.
class ScriptNodeXor final : public ScriptNode {
public:
    ScriptNodeXor() : ScriptNode("Xor") {}
    void update(ScriptUpdateData& data) override;
};

// Registers the eleven logic types: Always, Toggle, Comment, Delay, Cooldown, Once,
// Alternate, And, Or, Not, Xor.
void registerLogicScriptNodes();

} // namespace zor
