// Which game objects a step updates (those near the view and the forced ones) and the
// update of one object.

#include "game/simulation/GameObjectSimulator.h"

#include "game/simulation/ObjectStepContext.h"
#include "game/simulation/seams/ActorSteps.h"
#include "game/simulation/seams/ObjectLifeRules.h"
#include "game/simulation/seams/ObjectPhysicsSteps.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/LightObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Randomizer.h"

namespace zor {

namespace {

// The update area reaches this far beyond the view on every side; the camera's sight for
// waking this far.
constexpr float UpdateMargin = 120.0f;
constexpr float SightMargin = 40.0f;
// An object this far outside the level has left it.
constexpr float LevelMargin = 100.0f;
// The view the update area grows from while the camera has no size yet.
constexpr float DefaultViewWidth = 640.0f;
constexpr float DefaultViewHeight = 360.0f;

fpRect grown(const fpRect& rect, float margin) {
    return {rect.x - margin, rect.y - margin, rect.w + 2.0f * margin, rect.h + 2.0f * margin};
}

} // namespace

void GameObjectSimulator::updateObjectsNearView() {
    m_viewQuery.clear();
    const Camera& camera = m_world.camera;
    const fpRect& view = camera.visibleRect;
    const float width = camera.viewSize.x > 0.0f ? camera.viewSize.x : DefaultViewWidth;
    const float height = camera.viewSize.y > 0.0f ? camera.viewSize.y : DefaultViewHeight;
    const fpVector2 centre(view.x + view.w / 2.0f, view.y + view.h / 2.0f);
    const fpRect area(centre.x - width / 2.0f - UpdateMargin, centre.y - height / 2.0f - UpdateMargin,
                      width + 2.0f * UpdateMargin, height + 2.0f * UpdateMargin);
    m_forceUpdateNext.swap(m_forceUpdateNow);

    if (m_physics) m_physics->queryBodies(area, OccupantMask, m_viewQuery);
    // Nothing is deleted during the step, so the listed objects stay valid.
    for (PhysicalObject* physical : m_viewQuery) {
        Entity* owner = physical->ownerEntity;
        if (owner && owner->type() == EntityType::GameObject) updateObject(static_cast<GameObject&>(*owner));
    }
    for (const std::int32_t id : m_forceUpdateNow) {
        GameObject* object = m_world.findGameObject(id);
        if (object && object->lastUpdateFrame != m_world.stepCounter) updateObject(*object);
    }
    m_forceUpdateNow.clear();
}

void GameObjectSimulator::updateObject(GameObject& object) {
    if (!object.alive() || !(object.visible || object.updateOnce)) return;
    object.updateOnce = false;
    if (leftTheLevel(object) || stillAsleep(object)) return;
    object.lastUpdateFrame = m_world.stepCounter;

    const float step = m_lastStep;
    for (float* countdown : {&object.noiseCooldown, &object.timedOffsetRemaining, &object.secondTimer})
        if (*countdown > 0.0f) *countdown -= step;
    ObjectStepContext context;
    context.step = step;
    if (object.kind() == GameObjectKind::Actor) {
        auto& actor = static_cast<ActorObject&>(object);
        context.previousGround = actor.groundState;
        m_actorSteps->updateActor(*this, actor, context);
    } else {
        turnToMotion(object);
    }
    if (object.kind() == GameObjectKind::Resource)
        m_lifeRules->updateResource(*this, static_cast<ResourceObject&>(object), step);
    if (!object.alive()) return;

    const GameObjectDefinition& definition = object.gameObjectDefinition();
    if (object.physicalObject.awake && definition.updatePhysics) {
        m_physicsSteps->stepObjectPhysics(*this, object, context);
        if (object.kind() == GameObjectKind::Actor)
            m_physicsSteps->updateActorSenses(*this, static_cast<ActorObject&>(object), context);
    }
    moveAttachedLight(object);
    const bool barrier = object.kind() == GameObjectKind::Actor &&
                         static_cast<ActorObject&>(object).definition().specialType == SpecialType::Barrier;
    if (!object.beamIds.empty() || !definition.beams.empty() || barrier) m_lifeRules->updateBeams(*this, object, step);
    object.physicalObject.woken = false;
    if (object.forcedUpdateTime > 0.0f) {
        object.forcedUpdateTime -= step;
        forceUpdate(object);
    }
    m_world.updatedObjects.push_back(object.id());
}

bool GameObjectSimulator::leftTheLevel(GameObject& object) {
    const Level* level = m_world.level.get();
    if (!level) return false;
    const fpRect inside = grown(fpRect(0.0f, 0.0f, float(level->width) * TileSize, float(level->height) * TileSize),
                                LevelMargin);
    if (inside.contains(object.getPosition())) return false;
    if (object.kind() == GameObjectKind::Actor) {
        auto& actor = static_cast<ActorObject&>(object);
        actor.dying = true;
        killActor(actor);
    } else {
        m_world.removeEntity(&object);
    }
    return true;
}

bool GameObjectSimulator::stillAsleep(GameObject& object) {
    // Updated in the previous step: it is awake already.
    if (object.lastUpdateFrame == m_world.stepCounter - 1) return false;
    if (rectsOverlap(object.physicalObject.getBounds(), grown(m_world.camera.visibleRect, SightMargin))) {
        object.wakeDelay = 0.0f;
        return false;
    }
    if (object.wakeDelay > 0.0f) {
        object.wakeDelay -= m_lastStep;
        return object.wakeDelay > 0.0f;
    }
    const float wakeTime = object.gameObjectDefinition().randomWakeTime;
    if (wakeTime > 0.0f) {
        object.wakeDelay = m_world.random().nextFloatScaled(wakeTime);
        return true;
    }
    return false;
}

void GameObjectSimulator::turnToMotion(GameObject& object) {
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    const fpVector2& velocity = object.physicalObject.velocity;
    if (definition.rotateToFace) {
        object.facing = velocity.x == 0.0f && velocity.y == 0.0f ? fpVector2(1.0f, 0.0f) : velocity.normalized();
    } else if (definition.autoFacing && velocity.x != 0.0f) {
        object.facing.x = velocity.x > 0.0f ? 1.0f : -1.0f;
    }
}

void GameObjectSimulator::moveAttachedLight(GameObject& object) {
    LightObject* light = object.lightId != 0 && object.visible ? m_world.findLight(object.lightId) : nullptr;
    if (!light) return;
    const VisualAttachment& record = object.gameObjectDefinition().light;
    light->setPosition(object.getPosition() + object.decayingOffset() + object.orientOffset(record.offset));
    light->scale = record.scale * object.lightScale;
    light->strength = object.lightStrength;
    if (light->strength > 0.0f) m_world.shownLights.push_back(light->id());
}

} // namespace zor
