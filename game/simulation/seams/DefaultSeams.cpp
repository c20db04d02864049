// The safe bodies of the seams, until the parts of the game they stand for arrive, and the
// make functions, which hand out the parts that have arrived.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/SaveSlotPersistence.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/digging/TileHitRules.h"
#include "game/simulation/movement/ActorMovement.h"
#include "game/simulation/movement/ObjectPhysics.h"
#include "game/simulation/quest/TrackedQuests.h"
#include "game/simulation/rules/ObjectLife.h"
#include "game/simulation/rules/PlayRules.h"
#include "game/simulation/seams/ActorSteps.h"
#include "game/simulation/seams/GameRules.h"
#include "game/simulation/seams/HitRules.h"
#include "game/simulation/seams/ObjectLifeRules.h"
#include "game/simulation/seams/ObjectPhysicsSteps.h"
#include "game/simulation/seams/QuestTracking.h"
#include "game/simulation/seams/SeamFactory.h"
#include "game/simulation/seams/WorldPersistence.h"
#include "game/world/World.h"

#include <limits>

namespace zor {

void ActorSteps::updatePlayer(GameObjectSimulator&, float) {}

bool ActorSteps::handlePlayerInput(GameObjectSimulator&, InputState&) { return false; }

void ActorSteps::finishPlayerInput(GameObjectSimulator&) {}

void ActorSteps::updateActor(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext&) {
    if (&actor == objects.world().player()) return;
    if (objects.enemySimulator().tickActor(actor, objects.updateRecord())) objects.forceUpdate(actor);
}

void ObjectPhysicsSteps::stepObjectPhysics(GameObjectSimulator&, GameObject&, ObjectStepContext&) {}

void ObjectPhysicsSteps::updateActorSenses(GameObjectSimulator&, ActorObject&, ObjectStepContext&) {}

void ObjectPhysicsSteps::updateCamera(GameObjectSimulator&, float) {}

void HitRules::onContact(GameObjectSimulator&, PhysicalCollision&) {}

void HitRules::detonateProjectile(GameObjectSimulator& objects, Projectile& projectile) {
    objects.world().removeEntity(&projectile);
}

bool HitRules::digCell(GameObjectSimulator&, std::int32_t, std::int32_t, const DamageData&, const fpVector2&) {
    return false;
}

float HitRules::depthOfHardnessTier(GameObjectSimulator&, std::int32_t) {
    return std::numeric_limits<float>::infinity();
}


void ObjectLifeRules::killActor(GameObjectSimulator& objects, ActorObject& actor) {
    if (&actor == objects.world().player())
        actor.hitPoints = 0.0f;
    else
        objects.world().removeEntity(&actor);
}

void ObjectLifeRules::updateResource(GameObjectSimulator&, ResourceObject&, float) {}

void ObjectLifeRules::updateBeams(GameObjectSimulator&, GameObject&, float) {}

void GameRules::onItemGained(Simulator&, const std::string&) {}

void GameRules::onDiscardRequested(Simulator&, std::int32_t) {}

void GameRules::onConversationEnded(Simulator&, const ConversationDefinition*) {}

void GameRules::onSecretFound(Simulator& simulator) { simulator.gameObjects().onSecretFound(); }

void GameRules::serveDebugCommands(Simulator&) {}

void GameRules::sellInventory(Simulator&) {}

bool GameRules::saleRunning() const { return false; }

void GameRules::updateSale(Simulator&, float) {}

void GameRules::applyPlayerUpgrades(Simulator&, ActorObject&) {}

std::int32_t GameRules::pouchCapacity(Simulator& simulator) {
    return simulator.world().progress.inventory.capacity;
}

void QuestTracking::update(Simulator&, float) {}

void QuestTracking::talkTo(Simulator&, const std::string&) {}

void QuestTracking::startQuest(Simulator& simulator, std::int32_t index) {
    simulator.world().progress.questIndex = index;
}

void QuestTracking::finishQuests(Simulator&) {}

void WorldPersistence::save(World&, const GameSession*) {}

void WorldPersistence::saveSession(const GameSession*) {}

WorldPersistence::LoadResult WorldPersistence::loadSave(World&, const GameSession*) {
    return LoadResult::Skipped;
}

void WorldPersistence::writeEntities(const std::vector<Entity*>&, std::vector<std::uint8_t>& record,
                                     StringTableDynamic&) {
    record.clear();
}

void WorldPersistence::readEntities(World&, const std::vector<std::uint8_t>&, const StringTable&,
                                    std::vector<GameObject*>&) {}

std::unique_ptr<ActorSteps> SeamFactory::makeActorSteps() const { return std::make_unique<ActorMovement>(); }

std::unique_ptr<ObjectPhysicsSteps> SeamFactory::makeObjectPhysicsSteps() const {
    return std::make_unique<ObjectPhysics>();
}

std::unique_ptr<HitRules> SeamFactory::makeHitRules() const { return std::make_unique<TileHitRules>(); }

std::unique_ptr<ObjectLifeRules> SeamFactory::makeObjectLifeRules() const { return std::make_unique<ObjectLife>(); }

std::unique_ptr<GameRules> SeamFactory::makeGameRules() const { return std::make_unique<PlayRules>(); }

std::unique_ptr<QuestTracking> SeamFactory::makeQuestTracking() const { return std::make_unique<TrackedQuests>(); }

std::unique_ptr<WorldPersistence> SeamFactory::makeWorldPersistence() const {
    return std::make_unique<SaveSlotPersistence>();
}

} // namespace zor
