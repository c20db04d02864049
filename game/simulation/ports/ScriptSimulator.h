#pragma once
// The port of the level scripts: the Simulator owns one, builds the level's script graph
// when a level starts and runs it once per step.

namespace zor {

class ScriptSimulator {
public:
    virtual ~ScriptSimulator() = default;

    // Builds the current level's script graph from its node records.
    virtual void build() = 0;
    // One step of the graph; not while a level change is pending or the game is over.
    virtual void update(float step) = 0;
};

} // namespace zor
