// The object frame on the harness's fixture levels: tile regrowth, which objects a step
// updates and when they wake, leaving the level, fuses, effects, texts and markers, the
// max-count groups, settling with rejection, and the queues a new level empties.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Game.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/Destination.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/WorldText.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/MaxCountDefinition.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/definitions/ResourceDefinition.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;

constexpr float Step = GameHarness::StepLength;

// Under names of this program's own: a bag group of two that keeps its queue, a post group
// of one, the objects in them, a sleeper that wakes at random, fuses, and placement rules.
void loadObjectDefinitions() {
    static const bool loaded = [] {
        test::loadFixtureDefinitions();
        test::addDefinitions(maxCountRegistry(), "frame groups", R"(
          <Group Name="bags" MaxCount="2" KeepQueue="true"/>
          <Group Name="posts" MaxCount="1" KeepQueue="true"/>)");
        test::addDefinitions(resourceRegistry(), "frame resources", R"(
          <Resource><Name>loot_bag</Name><Template>ore</Template><MaxCountGroup>bags</MaxCountGroup></Resource>
          <Resource><Name>flare</Name><Template>ore</Template>
            <Light Sprite="Sprites/lights;soft_round" Scale="2" Offset="4;-6"/></Resource>)");
        registerResourceInventoryItems();
        test::addDefinitions(actorRegistry(), "frame actors", R"(
          <Actor><Name>post</Name><Template>crawler</Template><MaxCountGroup>posts</MaxCountGroup></Actor>
          <Actor><Name>sleeper</Name><Template>crawler</Template><RandomWakeTime>1</RandomWakeTime></Actor>
          <Actor><Name>watcher</Name><Template>crawler</Template><RejectSameTypeRadius>100</RejectSameTypeRadius></Actor>
          <Actor><Name>pedestal</Name><Template>crawler</Template><RejectOthersOnTop>true</RejectOthersOnTop></Actor>
          <Actor><Name>herald</Name><Template>crawler</Template><ForceUpdateOnCreation>true</ForceUpdateOnCreation></Actor>
          <Actor><Name>stray</Name><Template>crawler</Template><MaxCountGroup>no_such_group</MaxCountGroup></Actor>)");
        test::addDefinitions(projectileRegistry(), "frame projectiles", R"(
          <Projectile><Name>dud</Name><Template>spores</Template><TimeFuze>0</TimeFuze></Projectile>
          <Projectile><Name>flash</Name><Template>spores</Template><InstantFuze>true</InstantFuze></Projectile>)");
        return true;
    }();
    (void)loaded;
}

class ObjectFrameTest : public ::testing::Test {
protected:
    void SetUp() override { loadObjectDefinitions(); }

    World& world() { return harness->world(); }
    GameObjectSimulator& objects() { return harness->objects(); }
    Level& level() { return *world().level; }
    std::uint8_t& cell(std::int32_t column, std::int32_t row) { return *level().tileMap->cell(column, row); }
    bool solid(std::int32_t column, std::int32_t row) { return (cell(column, row) & TileBits::Solid) != 0; }
    std::size_t updatesOf(const std::string& name) {
        return harness->seams().count("ActorSteps.updateActor " + name);
    }
    // Steps until the object step has run `seconds` more of level time.
    void runFor(float seconds) { harness->runSteps(int(seconds / Step + 0.5f)); }

    // The bare room: nothing of the level's own in the way.
    static std::unique_ptr<GameHarness> bareRoom() { return std::make_unique<GameHarness>(test::HarnessOptions(1, "fixture_deep")); }

    std::unique_ptr<GameHarness> harness = bareRoom();
};

// Counts what the World announces, by entity type.
struct Announcements {
    explicit Announcements(World& world) {
        connection = world.entityAdded.connect(this, [](Announcements* a, Entity* entity) {
            if (entity->type() == EntityType::Effect) ++a->effects;
        });
    }
    int effects = 0;
    EventConnection connection;
};

TEST_F(ObjectFrameTest, TheLevelPhysicsHoldsTheTileMapAndBoundsReachingFiveHundredPixelsBelow) {
    PhysicsSystem& physics = *objects().physics();
    EXPECT_TRUE(physics.testRect(fpRect(45, 325, 10, 10), CollisionGroup::Tiles));  // the floor
    EXPECT_FALSE(physics.testRect(fpRect(45, 245, 10, 10), CollisionGroup::Tiles));
    // Something falling below the level is caught by the bounds 500 px under the last row.
    ActorObject* crawler = world().spawnActorFacingRight("crawler", {400, 420});
    objects().settleSpawnedActor(*crawler, 1000.0f, false);
    EXPECT_EQ(crawler->getPosition(), fpVector2(400, 900));
    EXPECT_EQ(objects().settings().gravity, 1500.0f);
}

TEST_F(ObjectFrameTest, ARegrowingCellWaitsWhileSomethingStandsInItRetryingAfterItsRegrowthTime) {
    Announcements announced(world());
    cell(6, 7) &= std::uint8_t(~TileBits::Solid);
    objects().queueTileRegeneration(6, 7, 0.5f);
    ActorObject* crawler = world().spawnActorFacingRight("crawler", {260, 316});
    runFor(0.55f);
    EXPECT_FALSE(solid(6, 7));
    ASSERT_EQ(objects().regenerationQueue().size(), 1u);
    // Moss is loam: tried again 2 s later, and again, while the crawler stays.
    const float retry = objects().regenerationQueue().front().dueTime;
    EXPECT_NEAR(retry, 0.5f + 2.0f, Step);
    runFor(2.1f);
    EXPECT_FALSE(solid(6, 7));
    EXPECT_NEAR(objects().regenerationQueue().front().dueTime, retry + 2.0f, 2 * Step);
    EXPECT_EQ(announced.effects, 0);

    world().removeEntity(crawler);
    runFor(2.1f);
    EXPECT_TRUE(solid(6, 7));
    EXPECT_TRUE(objects().regenerationQueue().empty());
    EXPECT_EQ(announced.effects, 1);
}

TEST_F(ObjectFrameTest, OnlyAMaterialWithARegrowthEffectShowsOne) {
    struct Case {
        std::int32_t column;
        const char* material;
        int effects;
    };
    for (const Case& c : {Case{6, "loam, with puff", 1}, Case{8, "lichen_matter, without", 0}}) {
        SCOPED_TRACE(c.material);
        Announcements announced(world());
        cell(c.column, 7) = TileBits::Seen;
        objects().queueTileRegeneration(c.column, 7, 0.25f);
        runFor(0.3f);
        // Only the solid bit comes back; the tile word was never touched.
        EXPECT_EQ(cell(c.column, 7), TileBits::Seen | TileBits::Solid);
        EXPECT_EQ(announced.effects, c.effects);
    }
}

TEST_F(ObjectFrameTest, AResourcePushedOutOfAFullGroupLivesThreeSecondsUpdatedFarFromTheView) {
    // Far right, beyond the update area around the player at the left.
    std::vector<ResourceObject*> bags;
    for (int i = 0; i < 3; ++i) bags.push_back(world().spawnResource("loot_bag", {700.0f + 20 * i, 100}, -1));
    const GameObjectSimulator::MaxCountGroupState* group = objects().maxCountGroup("bags");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->liveCount, 3);
    EXPECT_EQ(group->queue, (std::deque<std::int32_t>{bags[1]->id(), bags[2]->id()}));
    EXPECT_TRUE(bags[0]->alive());
    EXPECT_EQ(bags[0]->remainingLifeTime, 3.0f);

    runFor(2.9f);
    EXPECT_EQ(harness->seams().count("ObjectLifeRules.updateResource loot_bag"), std::size_t(2.9f / Step + 0.5f));
    runFor(0.5f);
    // Its 3 s of forced updates, and the one of its eviction.
    const std::size_t updates = harness->seams().count("ObjectLifeRules.updateResource loot_bag");
    EXPECT_GE(updates, 180u);
    EXPECT_LE(updates, 182u);

    world().removeEntity(bags[0]);
    world().processRemovals();
    EXPECT_EQ(group->liveCount, 2);
    // Any other kind leaves at once.
    ActorObject* first = world().spawnActorFacingRight("post", {700, 300});
    ActorObject* second = world().spawnActorFacingRight("post", {740, 300});
    EXPECT_FALSE(first->alive());
    EXPECT_TRUE(second->alive());
}

TEST_F(ObjectFrameTest, AGroupNoDefinitionNamesLimitsNothingAndIsReportedOnce) {
    test::LogCapture log;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(world().spawnActorFacingRight("stray", {300.0f + 30 * i, 300})->alive());
    EXPECT_EQ(objects().maxCountGroup("no_such_group")->liveCount, 3);
    EXPECT_EQ(log.warnings.size(), 1u);
}

TEST_F(ObjectFrameTest, AnActorThatLeftTheLevelDiesAtItsNextUpdate) {
    struct Case {
        float y;
        bool dies;
    };
    for (const Case& c : {Case{-101.0f, true}, Case{-100.0f, false}, Case{500.0f, true}, Case{499.0f, false}}) {
        SCOPED_TRACE(c.y);
        ActorObject* crawler = world().spawnActorFacingRight("crawler", {300, c.y});
        objects().forceUpdate(*crawler);
        harness->runSteps(1);
        EXPECT_EQ(crawler->dying, c.dies);
        EXPECT_EQ(harness->seams().count("ObjectLifeRules.killActor crawler dying"), c.dies ? 1u : 0u);
        // A dying actor is already gone; only the survivor is left to clear away.
        if (!c.dies) world().removeEntity(crawler);
        harness->seams().calls.clear();
    }
    // Anything else is simply removed.
    ResourceObject* ore = world().spawnResource("ore", {300, -101}, -1);
    objects().forceUpdate(*ore);
    const std::int32_t oreId = ore->id();
    harness->runSteps(1);
    EXPECT_EQ(world().findEntity(oreId), nullptr);
}

TEST_F(ObjectFrameTest, ObjectsComingIntoTheAreaOutOfSightWaitTheirRandomWakeTime) {
    harness->runSteps(5);
    const fpRect sight = world().camera.visibleRect;
    // In the update area, beyond the camera's sight plus 40 px; and one in sight.
    ActorObject* late = world().spawnActorFacingRight("sleeper", {sight.right() + 80.0f, 316});
    world().spawnActorFacingRight("crawler", {sight.right() + 80.0f, 250});
    ASSERT_LT(late->getPosition().x, sight.right() + 120.0f + 12.0f);
    harness->runSteps(1);
    EXPECT_EQ(updatesOf("crawler"), 1u) << "without RandomWakeTime it starts at once";
    EXPECT_EQ(updatesOf("sleeper"), 0u);
    const float delay = late->wakeDelay;
    ASSERT_GT(delay, 0.0f);
    ASSERT_LT(delay, 1.0f);
    int waited = 0;
    while (updatesOf("sleeper") == 0 && waited < 120) {
        harness->runSteps(1);
        ++waited;
    }
    EXPECT_NEAR(waited * Step, delay, 2 * Step);
    harness->runSteps(3);
    EXPECT_EQ(updatesOf("sleeper"), 4u) << "awake, it is updated every step";

    ActorObject* seen = world().spawnActorFacingRight("sleeper", {sight.x + 300.0f, 316});
    harness->seams().calls.clear();
    harness->runSteps(1);
    EXPECT_EQ(updatesOf("sleeper"), 2u) << "one in sight starts at once";
    EXPECT_EQ(seen->wakeDelay, 0.0f);
}

TEST_F(ObjectFrameTest, AProjectileDetonatesByTimeContactOrAtOnceButATimeFuzeOfZeroNever) {
    struct Case {
        const char* projectile;
        std::uint32_t contact;
        int steps;  // steps to the detonation; 0 for none in 600
    };
    for (const Case& c : {Case{"dud", 0, 0}, Case{"spores", 0, 181}, Case{"flash", 0, 1}, Case{"dud", 16, 1}}) {
        SCOPED_TRACE(std::string(c.projectile) + " contact " + std::to_string(c.contact));
        Projectile* projectile = world().spawnProjectile(c.projectile, {300, 200}, 0);
        const std::int32_t projectileId = projectile->id();
        projectile->contactGroups = c.contact;
        const std::string call = std::string("HitRules.detonateProjectile ") + c.projectile;
        int steps = 0;
        while (harness->seams().count(call) == 0 && steps < 600) {
            harness->runSteps(1);
            ++steps;
        }
        // A fuse of 3 s runs out within a step of 181 steps, as the float steps sum.
        EXPECT_NEAR(steps, c.steps == 0 ? 600 : c.steps, c.steps > 1 ? 1 : 0);
        EXPECT_EQ(harness->seams().count(call), c.steps == 0 ? 0u : 1u);
        if (c.steps == 0) {
            EXPECT_EQ(projectile->fuzeTime, 0.0f);
        }
        if (world().findEntity(projectileId)) world().removeEntityById(projectileId);
        harness->seams().calls.clear();
    }
}

TEST_F(ObjectFrameTest, DetonationsThatSpawnProjectilesAreWalkedInTheNextStep) {
    // Each flash leaves another flash behind: the fuse walk of one step only sees the
    // projectiles it started with.
    int chain = 0;
    harness->seams().onDetonation = [&](Projectile& projectile) {
        if (++chain < 4) world().spawnProjectile("flash", projectile.getPosition(), 0);
    };
    world().spawnProjectile("flash", {300, 200}, 0);
    world().spawnProjectile("dud", {320, 200}, 0);
    for (int step = 1; step <= 5; ++step) {
        harness->runSteps(1);
        EXPECT_EQ(chain, std::min(step, 4)) << step;
    }
    EXPECT_EQ(world().projectiles().size(), 1u);  // the dud
}

TEST_F(ObjectFrameTest, EffectsLeaveOnceFinishedAndTheirLightIsDoneOrGone) {
    // Without sprite and light: gone in the next effect step.
    EffectObject* puff = world().spawnEffect("puff", {100, 100}, 0.0f, 1.0f);
    const std::int32_t puffId = puff->id();
    harness->runSteps(1);
    EXPECT_EQ(world().findEntity(puffId), nullptr);

    struct Case {
        const char* name;
        bool removeLight;
    };
    for (const Case& c : {Case{"light plays out", false}, Case{"light removed first", true}}) {
        SCOPED_TRACE(c.name);
        EffectObject* glow = world().spawnEffect("glow_burst", {200, 100}, 0.0f, 1.0f);
        const std::int32_t lightId = glow->lightId;
        ASSERT_NE(lightId, 0);
        harness->runSteps(2);
        EXPECT_TRUE(glow->alive()) << "its sprite still shows";
        EXPECT_EQ(world().findLight(lightId)->getPosition(), fpVector2(200, 96));
        EXPECT_NE(std::find(world().shownLights.begin(), world().shownLights.end(), lightId),
                  world().shownLights.end());
        glow->finished = true;
        if (c.removeLight) {
            world().removeEntityById(lightId);
        } else {
            harness->runSteps(1);
            EXPECT_TRUE(glow->alive()) << "its light still shows";
            world().findLight(lightId)->finished = true;
        }
        const std::int32_t glowId = glow->id();
        harness->runSteps(1);
        EXPECT_EQ(world().findEntity(glowId), nullptr);
    }
}

TEST_F(ObjectFrameTest, WorldTextsMovePulseAndTimeOutAndMarkersOutliveTheirRefresh) {
    WorldText* text = world().spawnWorldText({100, 100}, "found");
    text->velocity = fpVector2(0, -60);
    text->pulseDuration = text->pulseRemaining = 0.5f;
    text->timed = true;
    text->remainingTime = 0.1f;
    harness->runSteps(1);
    EXPECT_FLOAT_EQ(text->getPosition().y, 99.0f);
    const float x = 1.0f - text->pulseRemaining / text->pulseDuration;
    EXPECT_FLOAT_EQ(text->scale, 0.4f + 0.3f * (1.0f - (1.0f - x) * (1.0f - x)));
    const std::int32_t textId = text->id();
    harness->runSteps(6);
    EXPECT_EQ(world().findEntity(textId), nullptr);

    Destination* marker = world().spawnDestination({300, 200});
    marker->remainingTime = 0.5f;
    marker->countdown = 0.1f;
    harness->runSteps(29);
    EXPECT_TRUE(marker->alive());
    EXPECT_LE(marker->countdown, 0.0f);
    const std::int32_t markerId = marker->id();
    harness->runSteps(2);
    EXPECT_EQ(world().findEntity(markerId), nullptr);
}

TEST_F(ObjectFrameTest, PlacementsWithRejectionRefuseCrowdingAndForbiddenFooting) {
    struct Case {
        const char* name;
        const char* first;
        fpVector2 firstAt;
        const char* second;
        fpVector2 secondAt;
        float distance;  // of the second's settling; the first settles on the floor
        bool reject;
        bool refused;
    };
    // Crawlers settle with their feet on the floor at y = 320 (x 400 to 600 is free of the
    // room's low tiles), bodies 24 x 16 px.
    const Case cases[] = {
        {"on one of the same group, radius 0", "crawler", {440, 300}, "crawler", {450, 300}, 1600, true, true},
        {"the same, without rejection", "crawler", {440, 300}, "crawler", {450, 300}, 1600, false, false},
        {"same name within the square of the radius", "watcher", {420, 300}, "watcher", {500, 300}, 1600, true, true},
        {"same name beyond it", "watcher", {420, 300}, "watcher", {560, 300}, 1600, true, false},
        {"another name within it, apart", "crawler", {420, 300}, "watcher", {500, 300}, 1600, true, false},
        {"standing on one that takes nobody on top", "pedestal", {520, 300}, "watcher", {520, 304}, 0, true, true},
        {"standing on one that does", "crawler", {520, 300}, "watcher", {520, 304}, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The old game goes first: the first harness of a program owns the settings.
        harness.reset();
        harness = bareRoom();
        ActorObject* first = world().spawnActorFacingRight(c.first, c.firstAt);
        objects().settleSpawnedActor(*first, 1600.0f, true);
        ASSERT_TRUE(first->alive());
        ASSERT_EQ(first->getPosition().y, 320.0f);
        ActorObject* second = world().spawnActorFacingRight(c.second, c.secondAt);
        objects().settleSpawnedActor(*second, c.distance, c.reject);
        EXPECT_EQ(!second->alive(), c.refused);
        EXPECT_EQ(second->dying, c.refused);
        EXPECT_EQ(second->physicalObject.awake, !c.refused);
    }
}

TEST_F(ObjectFrameTest, SettlingSweepsDownAndRoundsHalfAwayFromZero) {
    ActorObject* crawler = world().spawnActorFacingRight("crawler", {500.5f, 250.5f});
    objects().settleSpawnedActor(*crawler, 1600.0f, false);
    EXPECT_EQ(crawler->getPosition(), fpVector2(501, 320));
    ResourceObject* ore = world().spawnResource("ore", {200.5f, 100}, -1);
    objects().settleSpawnedActor(*ore, 10.0f, true);
    EXPECT_EQ(ore->getPosition(), fpVector2(201, 110));
    EXPECT_TRUE(ore->alive()) << "only actors are refused";
}

TEST_F(ObjectFrameTest, PressureOnACellQueuesOnceAtItsLargestRateUntilTheDigIsDone) {
    objects().queueCellDamage(15, 7, 2.0f);
    objects().queueCellDamage(15, 7, 1.0f);
    objects().queueCellDamage(16, 7, 0.5f);
    objects().queueCellDamage(16, 7, 3.0f);
    objects().queueCellDamage(3, 8, 5.0f);   // dirt does not break under pressure
    objects().queueCellDamage(15, 7, 0.0f);  // no rate
    objects().queueCellDamage(10, 3, 5.0f);  // empty
    ASSERT_EQ(objects().cellDamageQueue().size(), 2u);
    EXPECT_EQ(objects().cellDamageQueue()[0].rate, 2.0f);
    EXPECT_EQ(objects().cellDamageQueue()[1].rate, 3.0f);

    harness->runSteps(2);
    EXPECT_EQ(harness->seams().count("HitRules.digCell 15 7"), 2u);
    EXPECT_EQ(objects().cellDamageQueue().size(), 2u) << "not done: kept";
    // A cell that is no longer solid leaves without a dig; a dig that is done too.
    cell(15, 7) &= std::uint8_t(~TileBits::Solid);
    harness->runSteps(1);
    ASSERT_EQ(objects().cellDamageQueue().size(), 1u);
    EXPECT_EQ(objects().cellDamageQueue()[0].column, 16);
    harness->seams().digCellDone = true;
    harness->runSteps(1);
    EXPECT_TRUE(objects().cellDamageQueue().empty());
    EXPECT_EQ(harness->seams().count("HitRules.digCell 15 7"), 2u);
}

TEST_F(ObjectFrameTest, ANewLevelEmptiesTheRegrowthAndDamageQueues) {
    // A dug floor cell (dirt comes back from the level's record as it was left).
    cell(3, 8) &= std::uint8_t(~TileBits::Solid);
    objects().queueTileRegeneration(3, 8, 5.0f);
    objects().queueCellDamage(15, 7, 1.0f);
    harness->runSteps(3);
    harness->simulator().requestLevel("fixture_mine", "[start]", {});
    harness->runSteps(40);
    ASSERT_EQ(level().name, "fixture_mine");
    EXPECT_TRUE(objects().regenerationQueue().empty());
    EXPECT_TRUE(objects().cellDamageQueue().empty());
    EXPECT_LT(objects().levelTime(), 20 * Step);
    // The old level keeps its hole: it is remembered, and nothing regrows it elsewhere.
    harness->simulator().requestLevel("fixture_deep", "[start]", {});
    harness->runSteps(40);
    ASSERT_EQ(level().name, "fixture_deep");
    runFor(6.0f);
    EXPECT_FALSE(solid(3, 8));
}

TEST_F(ObjectFrameTest, ForcedObjectsAreUpdatedFarFromTheViewAndNothingTwiceAStep) {
    ActorObject* herald = world().spawnActorFacingRight("herald", {760, 316});
    ActorObject* far = world().spawnActorFacingRight("watcher", {700, 316});
    ActorObject* near = world().spawnActorFacingRight("post", {200, 316});
    near->forcedUpdateTime = 0.1f;
    objects().forceUpdate(*near);
    harness->runSteps(1);
    EXPECT_EQ(updatesOf("herald"), 1u) << "ForceUpdateOnCreation";
    EXPECT_EQ(updatesOf("watcher"), 0u);
    EXPECT_EQ(updatesOf("post"), 1u) << "in view and forced: once";
    EXPECT_EQ(std::count(world().updatedObjects.begin(), world().updatedObjects.end(), near->id()), 1);

    far->forcedUpdateTime = 0.04f;
    objects().forceUpdate(*far);
    harness->runSteps(6);
    EXPECT_EQ(updatesOf("watcher"), 4u) << "for its forced time, then no more";
    EXPECT_EQ(updatesOf("herald"), 1u);
    (void)herald;
}

TEST_F(ObjectFrameTest, HiddenObjectsWaitUnlessRaisedForOneUpdate) {
    ActorObject* crawler = world().spawnActorFacingRight("crawler", {300, 316});
    crawler->visible = false;
    harness->runSteps(2);
    EXPECT_EQ(updatesOf("crawler"), 0u);
    crawler->updateOnce = true;
    harness->runSteps(2);
    EXPECT_EQ(updatesOf("crawler"), 1u);
    EXPECT_FALSE(crawler->updateOnce);
}

TEST_F(ObjectFrameTest, AnObjectsOwnLightFollowsItAndLeavesWithIt) {
    ResourceObject* flare = world().spawnResource("flare", {300, 200}, -1);
    const std::int32_t lightId = flare->lightId;
    ASSERT_NE(world().findLight(lightId), nullptr);
    flare->lightScale = 0.5f;
    flare->facing = fpVector2(-1, 0);
    flare->setPosition({310, 210});
    harness->runSteps(1);
    const LightObject* light = world().findLight(lightId);
    EXPECT_EQ(light->getPosition(), fpVector2(306, 204)) << "its offset mirrored with the facing";
    EXPECT_EQ(light->scale, 1.0f);
    EXPECT_NE(std::find(world().shownLights.begin(), world().shownLights.end(), lightId), world().shownLights.end());
    world().removeEntity(flare);
    world().processRemovals();
    EXPECT_EQ(world().findLight(lightId), nullptr);
}

} // namespace
} // namespace zor
