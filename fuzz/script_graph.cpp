// Turns arbitrary bytes into a level's script records (type names of the registry or any
// text, properties, links to nodes, to placed shapes or to nothing) and builds them against
// a small World, then runs ten passes. Each record of a known type gives one node, and a
// graph with a start node has passed ten ticks.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_script_graph
//   build-fuzz/fuzz/fuzz_script_graph -max_total_time=60

#include "game/script/LogicNodes.h"
#include "game/script/ScriptNodeRegistry.h"
#include "game/script/ScriptGraphBuilder.h"
#include "game/script/ScriptSystem.h"
#include "game/world/World.h"
#include "game/world/entity/ShapeObject.h"

#include "Framework/core/math/Randomizer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const Types[] = {"Always", "Toggle", "Comment", "Delay", "Cooldown", "Once",
                             "Alternate", "And", "Or", "Not", "Xor"};
const char* const Keys[] = {"Trigger Count", "Toggleable", "On", "Delay", "Cooldown", "Start", "Times", "SkipEmpty"};
const char* const Slots[] = {"out", "out1", "out2", "out3", "out4", "out5", "Out1", "entity"};

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t next() { return m_at < m_size ? m_data[m_at++] : 0; }
    template <std::size_t N>
    std::string pick(const char* const (&names)[N]) {
        const std::uint8_t choice = next();
        if (choice >= 240) return text();
        return names[choice % N];
    }
    std::string text() {
        std::string result;
        for (std::uint8_t length = next() % 9; length > 0; --length) result += char(next());
        return result;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zor::registerLogicScriptNodes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    std::vector<zor::PatchGraphNode> records(bytes.next() % 24);
    for (zor::PatchGraphNode& record : records) {
        record.id = bytes.next() % 16;
        record.placementNumber = bytes.next() % 3;
        record.typeName = bytes.pick(Types);
        for (std::uint8_t count = bytes.next() % 4; count > 0; --count) {
            const std::string key = bytes.pick(Keys);
            record.properties[key] = bytes.next() % 2 ? zor::PatchGraphValue(bytes.next() % 2 == 0)
                                                      : zor::PatchGraphValue(bytes.text());
        }
        for (std::uint8_t count = bytes.next() % 6; count > 0; --count) {
            const std::string slot = bytes.pick(Slots);
            const std::uint32_t target = bytes.next() % 20;
            record.links.push_back({slot, "", target, bytes.next() % 3});
        }
    }
    zor::Randomizer random = zor::Randomizer::fromSeed(1);
    zor::World world(random);
    for (std::int32_t id = 14; id < 20; ++id) {
        zor::ShapeObject* shape = world.spawnShapeObject({0.0f, 0.0f, 40.0f, 40.0f});
        shape->placementKey = {id, id % 3};
    }
    const auto system = zor::buildScriptGraph(records, world, "fuzz");
    std::size_t known = 0;
    for (const zor::PatchGraphNode& record : records) known += zor::createScriptNode(record.typeName) != nullptr;
    if (system->nodes().size() != known) std::abort();
    for (int pass = 0; pass < 10; ++pass) system->update(float(bytes.next()) / 64.0f);
    bool started = false;
    for (const auto& node : system->nodes()) started = started || node->isStartNode();
    if (system->tick() != (started ? 11u : 1u)) std::abort();
    return 0;
}
