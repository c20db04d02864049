#pragma once
// The level script graph: nodes joined by directed connections, each carrying one boolean
// signal stamped with the pass (tick) that carried it. A node runs at most once per pass,
// when every input has been stamped in that pass; what it emits goes to all its outputs,
// true or false, which is what opens the gates below it.

#include "Framework/core/math/Rect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class Entity;
class ScriptNode;
class ScriptProperties;
class World;

struct ScriptConnection {
    ScriptNode* from = nullptr;
    ScriptNode* to = nullptr;
    bool value = false;
    // Ticks start at 1, so a fresh connection never counts as stamped.
    std::uint32_t tick = 0;
};

using ScriptConnections = std::vector<std::shared_ptr<ScriptConnection>>;

// Built by each pass and handed to every node that runs in it.
struct ScriptUpdateData {
    float dt = 0.0f;  // seconds of game time in this step
    std::uint32_t tick = 0;
    std::vector<ScriptNode*>* next = nullptr;  // the targets of this run's emits
};

class ScriptNode {
public:
    explicit ScriptNode(std::string type);
    virtual ~ScriptNode() = default;
    ScriptNode(const ScriptNode&) = delete;
    ScriptNode& operator=(const ScriptNode&) = delete;

    // One visit in a pass; most nodes begin with passGate.
    virtual void update(ScriptUpdateData& data) = 0;

    // What a build asks of a node type. The properties are the level record's; a missing
    // key reads as the integer 0 converted.
    virtual void readProperties(const ScriptProperties&) {}
    // A start node begins every pass.
    virtual bool isStartNode() const { return false; }
    // A new connection made from one of this node's links, by the link's slot name.
    virtual void connectedBySlot(const std::string&, const std::shared_ptr<ScriptConnection>&) {}
    // A link to a world object. The World may remove the entity while the level runs: keep
    // its id and find it again at each use.
    virtual void bindEntity(const std::string&, Entity&, World&) {}

    // True when every input carried a signal in this pass (so for no inputs).
    bool allInputsStamped(const ScriptUpdateData& data) const;
    // Inputs stamped in an earlier pass count as false.
    bool anyInputTrue(const ScriptUpdateData& data) const;
    void emit(bool value, ScriptUpdateData& data, const ScriptConnections& connections);

    // The editor's name (at first the id followed by the type), its box in world pixels.
    std::string name;
    const std::string type;
    fpRect rect;
    // Unique for the whole process, from 1.
    const std::uint32_t id;
    ScriptConnections inputs;
    ScriptConnections outputs;

protected:
    // The gate of a run: false while an input waits for this pass's signal or when the
    // node already ran in this pass; otherwise marks the node as run.
    bool passGate(const ScriptUpdateData& data);

private:
    std::uint32_t m_lastTick = 0;
};

// The only way connections are made: appended to the outputs of `from`, then to the inputs
// of `to`.
std::shared_ptr<ScriptConnection> connectScriptNodes(ScriptNode& from, ScriptNode& to);

} // namespace zor
