// The sample boss fight in "sentinel_vault": the sentinel claims the vault, calls its
// first generators and releases eggs; with the called generators destroyed its field
// falls, each 12 hit points end a phase, and the third leads to "shalebury_end".

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"

#include "game/definitions/DamageData.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

constexpr int StepsPerSecond = 60;

class SampleBossFight : public ::testing::Test {
protected:
    SampleBossFight() {
        HarnessOptions options(5, "sentinel_vault");
        options.sampleData = true;
        options.gameMovement = true;
        options.gameContacts = true;
        harness = std::make_unique<GameHarness>(options);
        harness->seams().playLifeRules = true;
        // The fight is the subject, not the player's survival.
        world().level->playerInvulnerable = true;
    }

    World& world() { return harness->world(); }

    std::vector<ActorObject*> actorsNamed(const std::string& definition) {
        std::vector<ActorObject*> found;
        for (const auto& [id, object] : world().gameObjects())
            if (object->kind() == GameObjectKind::Actor &&
                static_cast<ActorObject*>(object)->definition().name == definition)
                found.push_back(static_cast<ActorObject*>(object));
        return found;
    }

    ActorObject* boss() {
        const std::vector<ActorObject*> bosses = actorsNamed("vault_sentinel");
        return bosses.size() == 1 ? bosses.front() : nullptr;
    }

    std::vector<ActorObject*> standingGenerators() {
        std::vector<ActorObject*> standing = actorsNamed("sentinel_generator");
        standing.erase(std::remove_if(standing.begin(), standing.end(), [](ActorObject* g) { return !g->visible; }),
                       standing.end());
        return standing;
    }

    // A blow as hard as asked, whatever the target's toughness.
    void strike(ActorObject& target, float amount) {
        DamageData damage;
        damage.amount = amount;
        damage.tier = 10;
        target.invulnerabilityTime = 0.0f;
        ASSERT_TRUE(harness->objects().damageActor(target, damage, fpVector2(0.0f, 1.0f)))
            << target.definition().name;
    }


    // Destroys the called generators, waits for the field to fall and takes a phase off.
    void winPhase(std::int32_t phase) {
        ActorObject& sentinel = *boss();
        const std::vector<ActorObject*> called = standingGenerators();
        ASSERT_FALSE(called.empty()) << phase;
        // A called generator shows at once and takes hits once it has appeared.
        const auto appeared = [&] {
            return std::all_of(called.begin(), called.end(),
                               [](const ActorObject* g) { return g->physicalObject.collidable; });
        };
        ASSERT_TRUE(harness->runUntil(appeared, 5.0f)) << "a generator cannot appear in phase " << phase;
        for (ActorObject* generator : called) strike(*generator, 11.0f);
        ASSERT_TRUE(harness->runUntil([&] { return sentinel.hidden; }, 10.0f)) << "the field stands in phase " << phase;
        EXPECT_FALSE(sentinel.invulnerable);
        EXPECT_TRUE(standingGenerators().empty());
        strike(sentinel, 12.0f);
        ASSERT_TRUE(harness->runUntil([&] { return world().bossPhase == phase + 1; }, 1.0f)) << phase;
    }

    std::unique_ptr<GameHarness> harness;
};

TEST_F(SampleBossFight, TheSentinelClaimsTheVaultCallsItsFirstGeneratorsAndReleasesEggs) {
    harness->runSteps(StepsPerSecond);
    ActorObject* sentinel = boss();
    ASSERT_NE(sentinel, nullptr);
    EXPECT_EQ(world().bossId, sentinel->id());
    EXPECT_EQ(world().bossPhase, 0);
    EXPECT_EQ(world().cameraFocusTargetId, sentinel->id());
    EXPECT_EQ(sentinel->ownedEntityIds.size(), 7u);
    const std::vector<ActorObject*> called = standingGenerators();
    ASSERT_EQ(called.size(), 3u);
    for (const ActorObject* generator : called) EXPECT_EQ(generator->name, "1");
    EXPECT_TRUE(sentinel->invulnerable);

    bool released = false;
    harness->runUntil([&] { return released = released || !world().projectiles().empty(); }, 8.0f);
    EXPECT_TRUE(released);
    harness->runSteps(4 * StepsPerSecond);
    ASSERT_NE(boss(), nullptr);
    EXPECT_EQ(world().bossPhase, 0);
}

// The last phase turns the eye's lasers on the player; their beams leave with the attack.
TEST_F(SampleBossFight, TheLastPhaseFiresLasersWhoseBeamsEndWithTheirAttack) {
    harness->runSteps(StepsPerSecond);
    ActorObject& sentinel = *boss();
    world().bossPhase = 2;
    sentinel.hitPoints = 12.0f;
    int beamSteps = 0;
    for (int step = 0; step < 30 * StepsPerSecond; ++step) {
        harness->runSteps(1);
        if (!world().updatedBeams.empty()) ++beamSteps;
    }
    EXPECT_GT(beamSteps, StepsPerSecond) << "a second of lasers in 30";
    ASSERT_TRUE(harness->runUntil([&] { return sentinel.beamIds.empty(); }, 10.0f)) << "a beam outlived its attack";
    EXPECT_EQ(world().bossPhase, 2);
}

// Two games of one seed fight the same fight: the draws of the attacks, the releases and
// the respawns all come from the game's own generator.
TEST(SampleBossFightReplay, TheSameSeedFightsTheSameFight) {
    std::uint64_t hashes[2] = {};
    for (std::uint64_t& hash : hashes) {
        HarnessOptions options(9, "sentinel_vault");
        options.sampleData = true;
        options.gameMovement = true;
        options.gameContacts = true;
        GameHarness harness(options);
        harness.seams().playLifeRules = true;
        harness.world().level->playerInvulnerable = true;
        harness.runSteps(StepsPerSecond);
        harness.world().bossPhase = 2;
        harness.runSteps(20 * StepsPerSecond);
        hash = harness.stateHash();
    }
    EXPECT_EQ(hashes[0], hashes[1]);
}

TEST_F(SampleBossFight, ThreeWonPhasesEndTheGameInTheEndingLevel) {
    harness->runSteps(StepsPerSecond);
    ASSERT_NE(boss(), nullptr);
    for (std::int32_t phase = 0; phase < 3; ++phase) {
        winPhase(phase);
        if (HasFatalFailure()) return;
        if (phase < 2) {
            ASSERT_TRUE(harness->runUntil([&] { return !standingGenerators().empty(); }, 2.0f)) << "called back " << phase;
        }
    }
    EXPECT_TRUE(harness->userInterface().hudHidden());
    // 17.5 s of the ending, and the steps its explosions take.
    ASSERT_TRUE(harness->runUntil([&] { return harness->simulator().levelChangePending(); }, 20.0f));
    EXPECT_EQ(harness->simulator().requestedLevel(), "shalebury_end");
    ASSERT_TRUE(harness->runUntil([&] { return world().level && world().level->name == "shalebury_end"; }, 10.0f));
    EXPECT_NE(world().player(), nullptr);
}

} // namespace
} // namespace zor
