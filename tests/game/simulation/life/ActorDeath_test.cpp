// The death of actors: loot, remains, the special kinds, the counters, and the player's
// losses, body and game over.

#include "tests/game/simulation/life/LifeFixture.h"

#include "game/simulation/GameSession.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/Projectile.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/EffectDefinition.h"
#include "game/definitions/NameEnumerations.h"

#include "tests/support/common/LogCapture.h"

#include <algorithm>
#include <cmath>

namespace zor::test {
namespace {

class ActorDeathTest : public LifeTest {
protected:
    void SetUp() override { startIn("fixture_deep", true); }

    ActorObject& spawnActor(const std::string& name, const fpVector2& at, const fpVector2& facing = {1, 0}) {
        return *world().spawnActor(name, at, facing);
    }
    std::vector<EffectObject*> effects(const std::string& name) {
        std::vector<EffectObject*> found;
        for (const auto& [id, effect] : world().effects())
            if (effect->alive() && effect->definition == &getEffectDefinition(name)) found.push_back(effect);
        return found;
    }
    std::size_t soundRequests(const std::string& cue) {
        return std::size_t(std::count_if(world().soundRequests.begin(), world().soundRequests.end(),
                                         [&](const SoundRequest& request) { return request.cue == cue; }));
    }
};

TEST_F(ActorDeathTest, AnActorDiesOnceLeavingItsLootEffectSoundAndProjectile) {
    ActorObject& brute = spawnActor("brute", {400, 300});
    const fpVector2 centre = brute.center();
    objects().killActor(brute);
    objects().killActor(brute);

    EXPECT_TRUE(brute.killed);
    EXPECT_EQ(brute.hitPoints, 0.0f);
    EXPECT_FALSE(brute.alive());
    const std::vector<ResourceObject*> ore = resources("ore");
    ASSERT_EQ(ore.size(), 1u);
    EXPECT_EQ(ore[0]->getPosition(), centre);
    EXPECT_TRUE(resources("gem").empty());
    EXPECT_EQ(effects("puff").size(), 1u);
    EXPECT_EQ(soundRequests("brute_end"), 1u);
    std::size_t spores = 0;
    for (const auto& [id, projectile] : world().projectiles())
        if (projectile->alive()) {
            ++spores;
            EXPECT_EQ(projectile->ownerId, brute.id());
        }
    EXPECT_EQ(spores, 1u);
}

TEST_F(ActorDeathTest, ADyingActorVanishesWithoutLootOrRemainsButStillCountsAsAKill) {
    makeCounters({"cntr_killed_brute"});
    ActorObject& brute = spawnActor("brute", player().getPosition() + fpVector2(50, 0));
    brute.dying = true;
    objects().killActor(brute);
    EXPECT_FALSE(brute.alive());
    EXPECT_TRUE(resources("ore").empty());
    EXPECT_TRUE(effects("puff").empty());
    EXPECT_EQ(soundRequests("brute_end"), 0u);
    EXPECT_TRUE(world().projectiles().empty());
    EXPECT_EQ(counter("cntr_killed_brute"), 1);
}

TEST_F(ActorDeathTest, TheGoodLootComesFromTheFlagOrTheRoll) {
    struct Case {
        const char* actor;
        bool flagged;
        const char* drop;
    };
    for (const Case& c : {Case{"brute", false, "ore"}, Case{"brute", true, "gem"}, Case{"gambler", false, "gem"}}) {
        SCOPED_TRACE(std::string(c.actor) + (c.flagged ? " flagged" : ""));
        ActorObject& actor = spawnActor(c.actor, {400, 300});
        actor.goodLoot = c.flagged;  // as a contact attack leaves it
        objects().killActor(actor);
        const std::vector<ResourceObject*> drops = resources(c.drop);
        EXPECT_EQ(drops.size(), 1u);
        for (ResourceObject* drop : drops) world().removeEntity(drop);
        world().processRemovals();
    }
}

TEST_F(ActorDeathTest, TheEndEffectTurnsWithTheActorAndIsMirroredOnlyFacingLeft) {
    struct Case {
        fpVector2 facing;
        float offsetX;
        float scaleSign;
    };
    for (const Case& c : {Case{{1, 0}, 6, 1}, Case{{-1, 0}, -6, -1}, Case{{0, 1}, 6, 1}}) {
        SCOPED_TRACE(std::to_string(c.facing.x) + ", " + std::to_string(c.facing.y));
        ActorObject& brute = spawnActor("brute", {400, 300}, c.facing);
        objects().killActor(brute);
        std::vector<EffectObject*> shown = effects("puff");
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0]->getPosition(), fpVector2(400 + c.offsetX, 296));
        EXPECT_EQ(std::signbit(shown[0]->scaleX), c.scaleSign < 0);
        world().removeEntity(shown[0]);
        world().processRemovals();
    }
}

TEST_F(ActorDeathTest, AKillCountsWithinTwoHundredPixelsOfThePlayerAndOnlyFromNormalDamage) {
    struct Case {
        float distance;
        DamageType type;
        std::int32_t counted;
    };
    const Case cases[] = {
        {200.0f, DamageType::Normal, 1},
        {200.5f, DamageType::Normal, 0},
        {10.0f, DamageType::Crush, 0},
        {10.0f, DamageType::Fall, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.distance) + " type " + std::to_string(std::int32_t(c.type)));
        makeCounters({"cntr_killed_brute"});
        ActorObject& brute = spawnActor("brute", player().getPosition() + fpVector2(c.distance, 0));
        brute.lastDamageType = c.type;
        objects().killActor(brute);
        EXPECT_EQ(counter("cntr_killed_brute"), c.counted);
    }
}

TEST_F(ActorDeathTest, WithoutAPlayerAKillIsNotCounted) {
    makeCounters({"cntr_killed_brute"});
    world().removeEntity(&player());
    world().processRemovals();
    ActorObject& brute = spawnActor("brute", {400, 300});
    objects().killActor(brute);
    EXPECT_FALSE(brute.alive());
    EXPECT_EQ(counter("cntr_killed_brute"), 0);
}

TEST_F(ActorDeathTest, ATurtleDyingInAPoolWithWaterMakesSoup) {
    struct Case {
        std::int32_t liquid;
        float poolWater;
        std::int32_t counted;
    };
    for (const Case& c : {Case{1, 7, 1}, Case{1, 0, 0}, Case{2, 7, 0}}) {
        SCOPED_TRACE(std::to_string(c.liquid) + " " + std::to_string(c.poolWater));
        makeCounters({"cntr_turtle_soup"});
        ActorObject& pool = spawnActor("trough", {600, 300});
        pool.water = c.poolWater;
        ActorObject& turtle = spawnActor("enemy_turtle", {600, 290});
        turtle.liquidState = c.liquid;
        turtle.poolId = pool.id();
        objects().killActor(turtle);
        EXPECT_EQ(counter("cntr_turtle_soup"), c.counted);
        world().removeEntity(&pool);
    }
}

TEST_F(ActorDeathTest, AGeneratorMarksItselfInTheItemCountsAndMayBreakTheSequence) {
    struct Case {
        std::vector<std::string> owned;
        std::int32_t counted;
    };
    const Case cases[] = {
        {{"disable_barrier_boss3", "disable_barrier_boss2"}, 1},
        {{"disable_barrier_boss3", "disable_barrier_boss2", "reached_quellox"}, 0},
        {{"disable_barrier_boss3"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.owned.size());
        makeCounters({"cntr_sequence_breaker"});
        progress().items.counts.clear();
        for (const std::string& name : c.owned) progress().items.counts[name] = 1;
        progress().items.counts["dynamo_east"] = 3;
        ActorObject& dynamo = spawnActor("dynamo", {400, 300});
        dynamo.name = "dynamo_east";
        objects().killActor(dynamo);
        // Set, not added.
        EXPECT_EQ(itemCount("dynamo_east", progress().items), 1);
        EXPECT_EQ(world().shake.amplitude, 8.0f);
        EXPECT_EQ(counter("cntr_sequence_breaker"), c.counted);
    }
}

TEST_F(ActorDeathTest, ATeleporterStandingOnTheReturnPointClearsIt) {
    progress().returnLevel = "fixture_mine";
    progress().returnPosition = fpVector2(400, 300);
    objects().killActor(spawnActor("gate", {400.5f, 300}));
    EXPECT_EQ(progress().returnLevel, "fixture_mine");
    objects().killActor(spawnActor("gate", {400, 300}));
    EXPECT_NE(progress().returnLevel, "fixture_mine");
}

TEST_F(ActorDeathTest, ThePlayerLosesHalfItsCashOnlyWithThePickaxeAndNeverFromDebt) {
    struct Case {
        std::int32_t cash;
        bool pickaxe;
        std::int32_t lost;
    };
    const Case cases[] = {{7, true, 3}, {-7, true, 0}, {0, true, 0}, {7, false, 0}, {1, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cash) + (c.pickaxe ? " with pickaxe" : ""));
        startIn("fixture_deep", true);
        progress().cash = c.cash;
        if (c.pickaxe) progress().items.counts["pickaxe_pre"] = 1;
        const std::int32_t deaths = harness->session()->currentSlot().deaths;
        objects().killActor(player());
        objects().killActor(player());
        EXPECT_EQ(progress().cash, c.cash - c.lost);
        EXPECT_EQ(uiCalls("showGameOver"), (std::vector<std::string>{"UserInterface.showGameOver " + std::to_string(c.lost)}));
        EXPECT_EQ(harness->session()->currentSlot().deaths, deaths + 1);
        EXPECT_EQ(soundRequests("game_over"), 1u);
    }
}

TEST_F(ActorDeathTest, ADyingPlayerLeavesNoBagButStillPaysAndEndsTheGame) {
    progress().cash = 10;
    progress().items.counts["pickaxe_pre"] = 1;
    progress().inventory.add("nugget", 2);
    player().dying = true;
    objects().killActor(player());
    EXPECT_TRUE(resources("loot_bag").empty());
    EXPECT_EQ(progress().inventory.countOf("nugget"), 2);
    EXPECT_EQ(progress().cash, 5);
    EXPECT_EQ(uiCalls("showGameOver"), (std::vector<std::string>{"UserInterface.showGameOver 5"}));
}

TEST_F(ActorDeathTest, TheDeadPlayerStaysAsAWallEnemiesBody) {
    ActorObject& miner = player();
    miner.physicalObject.velocity = fpVector2(30, -40);
    objects().pushBackRemaining = 12.0f;
    objects().killActor(miner);

    EXPECT_TRUE(miner.alive());
    EXPECT_EQ(world().player(), &miner);
    EXPECT_EQ(miner.physicalObject.velocity, fpVector2());
    EXPECT_EQ(objects().pushBackRemaining, 0.0f);
    for (const PhysicalBody& body : miner.physicalObject.bodies()) {
        EXPECT_EQ(body.group, CollisionGroup::WallEnemies);
        EXPECT_EQ(body.mask, 0x41Cu);
    }
    // Listed under its new group: what collides with wall_enemies finds it there.
    const fpRect bounds = miner.physicalObject.bodies().front().getBounds();
    PhysicsSystem& physics = *objects().physics();
    EXPECT_TRUE(physics.testRect(bounds, CollisionGroup::WallEnemies));
    EXPECT_FALSE(physics.testRect(bounds, CollisionGroup::Player));
}

TEST_F(ActorDeathTest, ADyingPlayerDropsItsChargesAndKeepsARunningFallRecovery) {
    struct Case {
        float recoveryDuration;
        float expectedSpeed;
    };
    for (const Case& c : {Case{0.0f, 1.0f}, Case{0.8f, 0.25f}}) {
        SCOPED_TRACE(c.recoveryDuration);
        startIn("fixture_deep", true);
        ActorObject& miner = player();
        miner.charge = 0.7f;
        miner.chargeTime = 0.4f;
        miner.attackPitchTime = 0.5f;
        miner.attackPitchTimer = 0.2f;
        miner.animationSpeed = 0.25f;
        miner.animationRecoveryDuration = c.recoveryDuration;
        objects().killActor(miner);

        EXPECT_EQ(miner.charge, 0.0f);
        EXPECT_EQ(miner.chargeTime, 0.0f);
        EXPECT_EQ(miner.attackPitchTime, 0.0f);
        EXPECT_EQ(miner.attackPitchTimer, 0.0f);
        EXPECT_EQ(miner.animationSpeed, c.expectedSpeed);
    }
}

TEST_F(ActorDeathTest, ThePlayerLeavesWhatDropsOnDeathInABagOutsideCaves) {
    struct Case {
        const char* level;
        std::vector<std::string> carried;  // one of each
        std::vector<std::string> bagged;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        {"fixture_deep", {"nugget", "keepsake"}, {"nugget"}, {"keepsake"}},
        {"fixture_deep", {"keepsake"}, {}, {"keepsake"}},
        {"fixture_cave", {"nugget", "keepsake"}, {}, {"nugget", "keepsake"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " " + std::to_string(c.carried.size()));
        startIn(c.level);
        for (const std::string& item : c.carried) progress().inventory.add(item, 1);
        int changes = 0;
        EventConnection connection = world().inventoryChanged.connect(&changes, [](int* count) { ++*count; });
        objects().killActor(player());

        std::vector<std::string> kept;
        for (const InventorySlot& slot : progress().inventory.slots)
            if (slot.count > 0) kept.push_back(slot.itemName);
        EXPECT_EQ(kept, c.kept);
        const std::vector<ResourceObject*> bags = resources("loot_bag");
        ASSERT_EQ(bags.size(), c.bagged.empty() ? 0u : 1u);
        EXPECT_EQ(changes, c.bagged.empty() ? 0 : 1);
        if (bags.empty()) continue;
        std::vector<std::string> bagged;
        for (const InventorySlot& slot : bags[0]->contents.slots) bagged.push_back(slot.itemName);
        EXPECT_EQ(bagged, c.bagged);
        EXPECT_EQ(bags[0]->physicalObject.impulse, fpVector2(0, -200));
        // Kept until picked up.
        EXPECT_LE(bags[0]->remainingLifeTime, 0.0f);
    }
}

TEST_F(ActorDeathTest, ABagDefinitionThatMakesSomethingElseLeavesThePlayerTheItems) {
    ResourceDefinition& bag = findResourceDefinition("loot_bag");
    const std::string before = bag.spawnActor;
    bag.spawnActor = "crawler";
    progress().inventory.add("nugget", 4);
    progress().inventory.add("keepsake", 1);
    const std::vector<InventorySlot> carried = progress().inventory.slots;
    LogCapture log;
    objects().killActor(player());
    bag.spawnActor = before;

    EXPECT_TRUE(resources("loot_bag").empty());
    ASSERT_EQ(progress().inventory.slots.size(), carried.size());
    for (std::size_t i = 0; i < carried.size(); ++i) {
        EXPECT_EQ(progress().inventory.slots[i].itemName, carried[i].itemName);
        EXPECT_EQ(progress().inventory.slots[i].count, carried[i].count);
    }
    EXPECT_EQ(log.warnings.size(), 1u);
}

} // namespace
} // namespace zor::test
