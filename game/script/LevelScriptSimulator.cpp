#include "game/script/LevelScriptSimulator.h"

#include "game/script/ScriptGraphBuilder.h"
#include "game/script/ScriptSystem.h"
#include "game/world/World.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/level/Level.h"

namespace zor {

LevelScriptSimulator::LevelScriptSimulator(World& world) : m_world(world) {}

LevelScriptSimulator::~LevelScriptSimulator() = default;

void LevelScriptSimulator::build() {
    m_system.reset();
    if (m_world.level) m_system = buildScriptGraph(m_world.level->graphNodes, m_world, m_world.level->name);
}

void LevelScriptSimulator::update(float step) {
    if (m_system) m_system->update(step);
    for (const auto& [id, shape] : m_world.shapeObjects()) shape->activated = false;
}

} // namespace zor
