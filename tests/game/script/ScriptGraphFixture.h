#pragma once
// Script graphs from small record lists, as a level holds them, and "Probe" nodes that
// show what reached them: a probe runs like any gate and notes, per pass, the value it saw
// ("1" or "0", "." when it did not run). Probes also note the world objects linked to them.

#include "game/script/LogicNodes.h"
#include "game/script/ScriptGraphBuilder.h"
#include "game/script/ScriptNodeRegistry.h"
#include "game/script/ScriptSystem.h"
#include "game/world/World.h"
#include "game/world/entity/Entity.h"

#include "Framework/core/math/Randomizer.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zor::test {

class ProbeNode final : public ScriptNode {
public:
    ProbeNode() : ScriptNode("Probe") {}

    void update(ScriptUpdateData& data) override {
        if (!passGate(data)) return;
        seen[data.tick] += anyInputTrue(data) ? "1" : "0";
        if (journal) journal->push_back(name);
        emit(anyInputTrue(data), data, outputs);
    }
    void bindEntity(const std::string& slot, Entity& entity, World&) override { bound[slot] = entity.id(); }

    std::map<std::uint32_t, std::string> seen;  // by tick
    std::map<std::string, std::int32_t> bound;  // entity id by slot
    std::vector<std::string>* journal = nullptr;
};

inline void registerTestNodeTypes() {
    registerLogicScriptNodes();
    registerScriptNodeType("Probe", &makeScriptNode<ProbeNode>);
}

// Records named by their id; links by id within the same placement (1).
class ScriptGraphFixture {
public:
    static constexpr std::int32_t Placement = 1;

    ScriptGraphFixture() { registerTestNodeTypes(); }

    PatchGraphNode& node(std::uint32_t id, const std::string& type,
                         std::map<std::string, PatchGraphValue> properties = {}) {
        PatchGraphNode& record = records.emplace_back();
        record.id = id;
        record.placementNumber = Placement;
        record.name = std::to_string(id);
        record.typeName = type;
        record.properties = std::move(properties);
        return record;
    }
    void link(std::uint32_t from, std::uint32_t to, const std::string& slot = "out") {
        for (PatchGraphNode& record : records)
            if (record.id == from) record.links.push_back({slot, "", to, Placement});
    }

    ScriptSystem& build() {
        system = buildScriptGraph(records, world, "fixture");
        for (const auto& node : system->nodes())
            if (auto* probe = dynamic_cast<ProbeNode*>(node.get())) {
                probe->journal = &journal;
                probes[node->name] = probe;
            }
        return *system;
    }

    // Each probe's notes over the passes, one character (or more, when it ran more than
    // once) per pass.
    std::map<std::string, std::string> run(int passes, float dt = 0.25f) {
        std::map<std::string, std::string> notes;
        for (int pass = 0; pass < passes; ++pass) {
            const std::uint32_t tick = system->tick();
            system->update(dt);
            for (const auto& [name, probe] : probes) {
                const auto seen = probe->seen.find(tick);
                notes[name] += seen == probe->seen.end() ? "." : seen->second;
            }
        }
        return notes;
    }

    ProbeNode& probe(const std::string& name) { return *probes.at(name); }

    Randomizer random = Randomizer::fromSeed(1);
    World world{random};
    std::vector<PatchGraphNode> records;
    std::shared_ptr<ScriptSystem> system;
    std::map<std::string, ProbeNode*> probes;
    std::vector<std::string> journal;
};

} // namespace zor::test
