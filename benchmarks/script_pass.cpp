// One pass of a script graph of 1000 nodes and 3000 connections, every node running, against
// as many plain virtual calls over the same nodes: the counters give the pass's time per
// connection and its ratio to a virtual call, both measured in the same iterations.

#include "game/script/LogicNodes.h"
#include "game/script/ScriptSystem.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <vector>

namespace {

constexpr int NodeCount = 1000;
constexpr int ConnectionCount = 3000;

// A node reached by every node of the three before it, so that every one runs in a pass.
struct Graph {
    Graph() {
        zor::ScriptNode& start = system.addNode(std::make_unique<zor::ScriptNodeAlways>());
        system.addStartNode(start);
        nodes.push_back(&start);
        for (int i = 1; i < NodeCount; ++i) nodes.push_back(&system.addNode(std::make_unique<zor::ScriptNodeOr>()));
        int connections = 0;
        for (int i = 0; i < NodeCount; ++i)
            for (int step = 1; step <= 3 && i + step < NodeCount; ++step, ++connections)
                zor::connectScriptNodes(*nodes[std::size_t(i)], *nodes[std::size_t(i + step)]);
        for (int extra = 4; connections < ConnectionCount; ++extra, ++connections)
            zor::connectScriptNodes(start, *nodes[std::size_t(extra)]);
        // The plain calls: one per connection, spread over the nodes as the connections are.
        for (const auto& node : system.nodes())
            for (std::size_t i = 0; i < node->inputs.size(); ++i) callees.push_back(node.get());
    }

    zor::ScriptSystem system;
    std::vector<zor::ScriptNode*> nodes;
    std::vector<zor::ScriptNode*> callees;
};

void ScriptPass(benchmark::State& state) {
    Graph graph;
    graph.system.update(1.0f / 60.0f);
    using Clock = std::chrono::steady_clock;
    Clock::duration passes{};
    Clock::duration calls{};
    for (auto _ : state) {
        const Clock::time_point begin = Clock::now();
        graph.system.update(1.0f / 60.0f);
        const Clock::time_point middle = Clock::now();
        for (zor::ScriptNode* node : graph.callees) benchmark::DoNotOptimize(node->isStartNode());
        passes += middle - begin;
        calls += Clock::now() - middle;
    }
    const double passNs = std::chrono::duration<double, std::nano>(passes).count();
    const double callNs = std::chrono::duration<double, std::nano>(calls).count();
    const double connections = double(state.iterations()) * double(graph.callees.size());
    state.counters["ns_per_connection"] = passNs / connections;
    state.counters["ns_per_virtual_call"] = callNs / connections;
    state.counters["pass_to_virtual_calls"] = callNs > 0 ? passNs / callNs : 0.0;
    state.SetItemsProcessed(std::int64_t(connections));
}
BENCHMARK(ScriptPass);

} // namespace
