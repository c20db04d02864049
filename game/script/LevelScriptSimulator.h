#pragma once
// The Simulator's level scripts: builds the current level's script graph when the level
// starts and runs one pass of it per step, after which the shapes' touched flags, which the
// event nodes read, are cleared.

#include "game/simulation/ports/ScriptSimulator.h"

#include <memory>

namespace zor {

class ScriptSystem;
class World;

class LevelScriptSimulator final : public ScriptSimulator {
public:
    explicit LevelScriptSimulator(World& world);
    ~LevelScriptSimulator() override;

    // Nothing of the previous level's graph survives; without a level there is none.
    void build() override;
    void update(float step) override;

    // Null before the first build.
    const ScriptSystem* system() const { return m_system.get(); }

private:
    World& m_world;
    std::shared_ptr<ScriptSystem> m_system;
};

} // namespace zor
