#pragma once
// Seams that record what a harness game asks of them and then do what the safe defaults
// do, unless the test tells them otherwise. Calls go to their own list, one text each
// ("WorldPersistence.save", "ObjectLifeRules.killActor crawler"), so that the port call
// lists stay as they were.

#include "game/simulation/seams/ActorSteps.h"
#include "game/simulation/seams/GameRules.h"
#include "game/simulation/seams/HitRules.h"
#include "game/simulation/seams/ObjectLifeRules.h"
#include "game/simulation/seams/ObjectPhysicsSteps.h"
#include "game/simulation/seams/QuestTracking.h"
#include "game/simulation/seams/SeamFactory.h"
#include "game/simulation/seams/WorldPersistence.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zor::test {

struct SeamRecordings {
    std::vector<std::string> calls;
    // Each persistence call with the thread it came from: saving writes files.
    std::vector<std::pair<std::string, std::thread::id>> persistenceThreads;
    // Set by the test.
    std::string saveFailure;           // not empty: save throws CheckReleaseError with it
    bool digCellDone = false;          // digCell's answer
    float hardnessTierDepth = 0.0f;    // above 0: tier t begins at t x this many tiles
    WorldPersistence::LoadResult loadResult = WorldPersistence::LoadResult::Skipped;
    // Run by detonateProjectile before the projectile is removed.
    std::function<void(Projectile&)> onDetonation;
    // What the next readEntities hands the game (which then owns them): game objects the
    // test made, reset, placed and set up.
    std::vector<GameObject*> storedObjects;
    // readEntities throws a runtime error after handing over the stored objects.
    bool readFailure = false;
    // killActor, updateResource and updateBeams play the game's own rules (still recorded)
    // instead of the plain stand-ins.
    bool playLifeRules = false;
    // digCell, detonateProjectile and depthOfHardnessTier play the game's own hit rules
    // (still recorded; a test's hardnessTierDepth still wins).
    bool playHitRules = false;
    // Set by the harness: the calls go on to the save slot's persistence.
    bool saveFiles = false;
    // Read when the seams are made: the recorders of the actor and object physics steps
    // pass on to the game's own steps instead of the safe defaults.
    bool gameMovement = false;
    // Set by the harness: contacts go on to the game's own contact rules.
    bool gameContacts = false;
    // Nothing is appended to `calls` (for timing the steps behind the recorders).
    bool quiet = false;

    std::size_t count(const std::string& call) const;
    std::vector<std::string> startingWith(const std::string& prefix) const;
};

class RecordingSeams final : public SeamFactory {
public:
    std::unique_ptr<ActorSteps> makeActorSteps() const override;
    std::unique_ptr<ObjectPhysicsSteps> makeObjectPhysicsSteps() const override;
    std::unique_ptr<HitRules> makeHitRules() const override;
    std::unique_ptr<ObjectLifeRules> makeObjectLifeRules() const override;
    std::unique_ptr<GameRules> makeGameRules() const override;
    std::unique_ptr<QuestTracking> makeQuestTracking() const override;
    std::unique_ptr<WorldPersistence> makeWorldPersistence() const override;

    std::shared_ptr<SeamRecordings> recordings = std::make_shared<SeamRecordings>();
    // The game's own rules and quest tracker instead of recorders.
    bool gameRules = false;
};

} // namespace zor::test
