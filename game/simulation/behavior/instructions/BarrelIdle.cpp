#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Curve.h"

#include <algorithm>
#include <vector>

namespace zor {

namespace {

constexpr float TickSeconds = 0.2f;
constexpr float SearchSize = 140.0f;
// An activator this far from the barrel's centre no longer heats it.
constexpr float HeatReach = 70.0f;
// A damaged barrel heats as if an activator stood at closeness 0.6.
constexpr float DamagedRate = 0.48f;
constexpr float HeatingRate = 0.8f;
constexpr float CoolingRate = -0.7f;
constexpr float LightFollowRate = 2.0f;

// Shared by every barrel; emptied before each query.
std::vector<PhysicalObject*>& foundBodies() {
    static std::vector<PhysicalObject*> found;
    return found;
}

fpVector2 boundsCentre(const PhysicalObject& object) {
    const fpRect bounds = object.getBounds();
    return {bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
}

// The nearest actor other than the barrel that activates barrels, or null.
const ActorObject* nearestActivator(const ActorObject& barrel, PhysicsSystem& physics) {
    const fpVector2 centre = barrel.center();
    const float half = SearchSize / 2.0f;
    std::vector<PhysicalObject*>& found = foundBodies();
    found.clear();
    physics.queryBodies({centre.x - half, centre.y - half, SearchSize, SearchSize}, barrel.definition().enemies,
                        found);
    const ActorObject* nearest = nullptr;
    float nearestDistance = 0.0f;
    for (const PhysicalObject* object : found) {
        const Entity* owner = object->ownerEntity;
        if (!owner || owner == &barrel || owner->type() != EntityType::GameObject) continue;
        const auto* gameObject = static_cast<const GameObject*>(owner);
        if (gameObject->kind() != GameObjectKind::Actor) continue;
        const auto* actor = static_cast<const ActorObject*>(gameObject);
        if (!actor->activatesBarrels) continue;
        const float distance = (actor->center() - centre).length();
        if (!nearest || distance < nearestDistance) {
            nearest = actor;
            nearestDistance = distance;
        }
    }
    return nearest;
}

float closenessOf(const ActorObject& barrel, const BehaviorData& data) {
    if (!data.physics) return 0.0f;
    const ActorObject* activator = nearestActivator(barrel, *data.physics);
    if (!activator) return 0.0f;
    const float distance = (boundsCentre(activator->physicalObject) - boundsCentre(barrel.physicalObject)).length();
    return 1.0f - std::min(std::max(distance / HeatReach, 0.0f), 1.0f);
}

// Five times a second the heat rises or falls; at full heat the barrel blows.
void heatUp(ActorObject& barrel, float& heat, const BehaviorData& data) {
    const float closeness = closenessOf(barrel, data);
    float rate = CoolingRate;
    if (barrel.hitPoints < barrel.definition().hitPoints)
        rate = DamagedRate;
    else if (closeness > 0.0f)
        rate = HeatingRate * closeness;
    heat += rate * TickSeconds;
    if (heat > 1.0f) {
        heat = 1.0f;
        barrel.hitPoints = 0.0f;
    } else if (heat < 0.0f) {
        heat = 0.0f;
    }
    barrel.rumbleStrength = 2.0f * evaluateCurve(CurveType::Linear, heat);
}

// The glow follows the rumble at a limited pace; the light starts out dark.
void followRumble(ActorObject& barrel, float step) {
    if (barrel.lightStrength == 1.0f) {
        barrel.lightStrength = 0.0f;
        barrel.lightScale = 1.0f;
    }
    const float change = barrel.rumbleStrength - barrel.lightStrength;
    const float reach = LightFollowRate * step;
    barrel.lightStrength += std::clamp(change, -reach, reach);
    barrel.lightScale = 0.8f + 0.15f * barrel.lightStrength;
}

MachineInstruction barrelIdle(ActorObject& barrel, BehaviorData& data) {
    float& heat = namedEntry(barrel.namedTimers, "shake");
    float& tick = namedEntry(barrel.namedTimers, "time");
    tick -= data.stepTime();
    if (tick <= 0.0f) {
        tick = TickSeconds;
        heatUp(barrel, heat, data);
    }
    followRumble(barrel, data.stepTime());
    return MachineInstruction::Running;
}

} // namespace

void registerBarrelInstructions(EnemySimulator& simulator) { simulator.registerInstruction("BarrelIdle", barrelIdle); }

} // namespace zor
