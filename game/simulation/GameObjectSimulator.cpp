// The GameObjectSimulator's life: construction, settings, the level's physics and the
// World's entity notifications with the max-count groups.

#include "game/simulation/GameObjectSimulator.h"

#include "game/simulation/MainThreadWork.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/seams/ActorSteps.h"
#include "game/simulation/seams/HitRules.h"
#include "game/simulation/seams/ObjectLifeRules.h"
#include "game/simulation/seams/ObjectPhysicsSteps.h"
#include "game/simulation/seams/SeamFactory.h"
#include "game/simulation/debug/DebugDrawCanvas.h"
#include "game/world/World.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/MaxCountDefinition.h"
#include "game/definitions/NameEnumerations.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"

#include <algorithm>

namespace zor {

namespace {

constexpr const char* LogSource = "GameObjects";
// A resource pushed out of a full group lives this long, updated wherever it is.
constexpr float EvictedResourceLife = 3.0f;
// The bounds body reaches this far below the last row, so falling objects are held there.
constexpr float BoundsBelowLevel = 500.0f;

const char* const NoiseRadiusKeys[] = {"Game.NoiseTinyRadius", "Game.NoiseSmallRadius", "Game.NoiseMediumRadius",
                                       "Game.NoiseLargeRadius", "Game.NoiseHugeRadius"};
const char* const NoiseAmountKeys[] = {"Game.NoiseTinyAmount", "Game.NoiseSmallAmount", "Game.NoiseMediumAmount",
                                       "Game.NoiseLargeAmount", "Game.NoiseHugeAmount"};

// A pooled object with one level body of the group, colliding with nothing.
std::unique_ptr<PhysicalObject> levelBody(std::uint32_t group, AbstractShape* shape) {
    auto object = std::make_unique<PhysicalObject>();
    PhysicalBody body;
    body.group = group;
    body.mask = 0;
    body.shape = shape;
    object->addBody(std::move(body));
    return object;
}

PhysicalObject* physicalObjectOf(Entity& entity) {
    switch (entity.type()) {
    case EntityType::GameObject: return &static_cast<GameObject&>(entity).physicalObject;
    case EntityType::Shape: return &static_cast<ShapeObject&>(entity).physicalObject;
    case EntityType::Exit: return &static_cast<ExitObject&>(entity).physicalObject;
    case EntityType::Beam: return static_cast<Beam&>(entity).physicalObject.get();
    default: return nullptr;
    }
}

} // namespace

GameObjectSimulator::GameObjectSimulator(Simulator& owner, World& world, UserInterface& userInterface,
                                         const SeamFactory& seams)
    : m_owner(owner),
      m_world(world),
      m_userInterface(userInterface),
      m_enemySimulator(std::make_unique<EnemySimulator>(&owner, world, &userInterface)),
      m_actorSteps(seams.makeActorSteps()),
      m_physicsSteps(seams.makeObjectPhysicsSteps()),
      m_hitRules(seams.makeHitRules()),
      m_lifeRules(seams.makeObjectLifeRules()),
      m_maxCountGroups(11) {
    m_maxCountGroups.max_load_factor(1.0f);
    m_connections.push_back(world.levelStarted.connect(this, &GameObjectSimulator::onNewLevel));
}

GameObjectSimulator::~GameObjectSimulator() {
    m_connections.clear();
    m_enemySimulator->setPhysics(nullptr);
}

void GameObjectSimulator::readSettings() {
    if (!SettingsHandler::exists()) return;
    const SettingsHandler& settings = SettingsHandler::instance();
    m_settings.gravity = settings.getFloat("Game.Gravity");
    for (std::size_t i = 0; i < m_settings.noise.size(); ++i) m_settings.noise[i].radius = settings.getFloat(NoiseRadiusKeys[i]);
    for (std::size_t i = 0; i < m_settings.noise.size(); ++i) m_settings.noise[i].amount = settings.getFloat(NoiseAmountKeys[i]);
    m_settings.jumpPlateImpulse = settings.getFloat("Game.JumpPlateImpulse");
    m_settings.maxRunSpeed = settings.getFloat("Game.MaxRunSpeed");
    m_settings.pushBackSpeed = settings.getFloat("Game.PushBackSpeed");
    m_settings.pushBackMargin = settings.getFloat("Game.PushBackMargin");
}

void GameObjectSimulator::buildLevelPhysics() {
    const Level& level = *m_world.level;
    const fpRect levelRect(0.0f, 0.0f, float(level.width) * TileSize, float(level.height) * TileSize);
    // The old level's bodies leave before the system that lists them goes.
    m_tileMapObject.reset();
    m_boundsObject.reset();
    m_physics = std::make_shared<PhysicsSystem>(levelRect);
    m_physics->setDebugCanvas(std::make_shared<DebugDrawCanvas>());
    m_enemySimulator->setPhysics(m_physics.get());
    const std::shared_ptr<CellSystem> cells = m_physics->cellSystem();
    UserInterface& userInterface = m_userInterface;
    m_owner.mainThreadWork().run([&userInterface, cells] { userInterface.setMapCellSystem(cells); });
    m_physics->contactCallback = [this](PhysicalCollision& contact) { m_hitRules->onContact(*this, contact); };

    m_tileMapObject = levelBody(CollisionGroup::Tiles, new TileMapShape(level.tileMap));
    m_physics->placeObject(*m_tileMapObject);
    fpRect bounds = levelRect;
    bounds.h += BoundsBelowLevel;
    m_boundsObject = levelBody(CollisionGroup::Bounds, new BoundsShape(bounds));
    m_physics->placeObject(*m_boundsObject);
}

void GameObjectSimulator::onNewLevel() {
    m_levelTime = 0.0f;
    playerSpeedHistory.clear();
    pushBackRemaining = 0.0f;
    m_cellDamageQueue.clear();
    m_regenerationQueue.clear();
}

void GameObjectSimulator::onEntityAdded(Entity* entity) {
    // A beam's body enters the physics with the beam's own update.
    if (entity->type() == EntityType::Beam) return;
    PhysicalObject* physical = physicalObjectOf(*entity);
    if (physical && m_physics) m_physics->placeObject(*physical);
    if (entity->type() != EntityType::GameObject) return;

    auto& object = static_cast<GameObject&>(*entity);
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    if (object.kind() == GameObjectKind::Actor) m_enemySimulator->giveMachine(static_cast<ActorObject&>(object));
    if (!definition.light.sprite.empty()) object.lightId = m_world.spawnLight(definition.light)->id();
    if (!definition.maxCountGroup.empty()) joinMaxCountGroup(object, definition.maxCountGroup);
    if (definition.forceUpdateOnCreation) forceUpdate(object);
}

void GameObjectSimulator::onEntityRemoved(Entity* entity) {
    PhysicalObject* physical = physicalObjectOf(*entity);
    if (physical && m_physics) m_physics->removeObject(*physical);
    if (entity->type() != EntityType::GameObject) return;

    auto& object = static_cast<GameObject&>(*entity);
    m_forceUpdateNext.erase(std::remove(m_forceUpdateNext.begin(), m_forceUpdateNext.end(), object.id()),
                            m_forceUpdateNext.end());
    const std::string& group = object.gameObjectDefinition().maxCountGroup;
    if (!group.empty()) leaveMaxCountGroup(object, group);
    if (object.lightId != 0) m_world.removeEntityById(object.lightId);
    if (object.kind() == GameObjectKind::Actor) {
        auto& actor = static_cast<ActorObject&>(object);
        if (actor.chargeLightId != 0) m_world.removeEntityById(actor.chargeLightId);
        // A looping slide sound would play on without its actor. A build removes actors on
        // the worker; the sound belongs to the main thread.
        if (actor.slideSound != 0) {
            GameAudio& audio = m_owner.audio();
            m_owner.mainThreadWork().run([&audio, handle = actor.slideSound] { audio.stop(handle); });
            actor.slideSound = 0;
        }
    }
    for (const std::int32_t beamId : object.beamIds) m_world.removeEntityById(beamId);
    object.beamIds.clear();
}

void GameObjectSimulator::joinMaxCountGroup(GameObject& object, const std::string& groupName) {
    auto found = m_maxCountGroups.find(groupName);
    if (found == m_maxCountGroups.end()) {
        found = m_maxCountGroups.emplace(groupName, MaxCountGroupState()).first;
        found->second.definition = findMaxCountDefinitionOrNull(groupName);
        if (!found->second.definition && m_reported.insert(groupName).second)
            LogHandler::log(LogHandler::Warning, LogSource,
                            "The object '" + object.gameObjectDefinition().name + "' names the max-count group '" +
                                groupName + "', which is not defined; its members are not limited");
    }
    MaxCountGroupState& group = found->second;
    ++group.liveCount;
    if (!group.definition || !group.definition->keepQueue) return;
    group.queue.push_back(object.id());
    if (std::int32_t(group.queue.size()) <= group.definition->maximumCount) return;
    const std::int32_t oldestId = group.queue.front();
    group.queue.pop_front();
    // Already queued for removal: it is on its way out.
    GameObject* oldest = m_world.findGameObject(oldestId);
    if (!oldest) return;
    if (oldest->kind() == GameObjectKind::Resource) {
        static_cast<ResourceObject*>(oldest)->remainingLifeTime = EvictedResourceLife;
        // Kept updated for the whole of that time, so that it fades out wherever it lies.
        oldest->forcedUpdateTime = std::max(oldest->forcedUpdateTime, EvictedResourceLife);
        forceUpdate(*oldest);
    } else {
        m_world.removeEntity(oldest);
    }
}

void GameObjectSimulator::leaveMaxCountGroup(const GameObject& object, const std::string& groupName) {
    const auto found = m_maxCountGroups.find(groupName);
    if (found == m_maxCountGroups.end()) return;
    MaxCountGroupState& group = found->second;
    --group.liveCount;
    const auto queued = std::find(group.queue.begin(), group.queue.end(), object.id());
    if (queued != group.queue.end()) group.queue.erase(queued);
}

const GameObjectSimulator::MaxCountGroupState* GameObjectSimulator::maxCountGroup(const std::string& name) const {
    const auto found = m_maxCountGroups.find(name);
    return found == m_maxCountGroups.end() ? nullptr : &found->second;
}

void GameObjectSimulator::forceUpdate(const GameObject& object) {
    m_forceUpdateNext.push_back(object.id());
}

void GameObjectSimulator::centreCameraOn(const fpVector2& point) {
    m_world.camera.setTopLeft(point - m_world.camera.viewSize / 2.0f);
}

void GameObjectSimulator::killActor(ActorObject& actor) {
    m_lifeRules->killActor(*this, actor);
}

bool GameObjectSimulator::digCell(std::int32_t column, std::int32_t row, const DamageData& damage,
                                  const fpVector2& origin) {
    return m_hitRules->digCell(*this, column, row, damage, origin);
}

void GameObjectSimulator::detonateProjectile(Projectile& projectile) {
    m_hitRules->detonateProjectile(*this, projectile);
}

float GameObjectSimulator::depthOfHardnessTier(std::int32_t tier) {
    return m_hitRules->depthOfHardnessTier(*this, tier);
}

void GameObjectSimulator::makeNoise(GameObject& source, NoiseSize size) {
    makeNoise(source, m_settings.noise[static_cast<std::size_t>(size)]);
}

bool GameObjectSimulator::handlePlayerInput(InputState& input) {
    return m_actorSteps->handlePlayerInput(*this, input);
}

void GameObjectSimulator::finishPlayerInput() {
    m_actorSteps->finishPlayerInput(*this);
}

} // namespace zor
