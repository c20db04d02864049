// Game objects from their definitions: set-up, the random start of an actor's timers, its
// animated parts, resets and the small queries of the simulation.

#include "game/world/World.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/entity/GameObjectSetup.h"
#include "game/world/entity/NPCBehaviorData.h"

#include "game/definitions/MachineTables.h"

#include "Framework/core/math/Randomizer.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace zor {
namespace {

constexpr float Pi = 3.14159265f;

class GameObjectTest : public ::testing::Test {
protected:
    void SetUp() override { test::loadFixtureDefinitions(); }

    ActorObject& sentry() { return *world.spawnActorFacingRight("sentry", {0, 0}); }

    Randomizer random = Randomizer::fromSeed(21);
    World world{random};
};

TEST_F(GameObjectTest, RotatingObjectsTurnTheirBoxAndRoundItOnlyWhenTheyRoundTheirPosition) {
    const struct {
        const char* actor;
        fpVector2 facing;
        fpRect box;  // at the origin
    } cases[] = {
        // Facing (0.6, 0.8) turns by about 53 degrees.
        {"clinger", {0.6f, 0.8f}, {4.8f, -13.6f, 0.0f, 20.0f}},
        {"turner", {0.6f, 0.8f}, {-3.0f, -10.0f, 12.0f, 29.0f}},
        // Snapped to (1, 0) first, so not turned at all.
        {"clinger", {1.0f, 0.0009f}, {-8.0f, -12.0f, 16.0f, 12.0f}},
        {"clinger", {1.0f, 0.0f}, {-8.0f, -12.0f, 16.0f, 12.0f}},
        // Only objects that rotate turn.
        {"sentry", {0.0f, -1.0f}, {-8.0f, -20.0f, 16.0f, 20.0f}},
    };
    for (const auto& c : cases) {
        const ActorObject* actor = world.spawnActor(c.actor, {0, 0}, c.facing);
        const fpRect bounds = actor->physicalObject.getBounds();
        EXPECT_NEAR(bounds.x, c.box.x, 1e-4f) << c.actor << " " << c.facing;
        EXPECT_NEAR(bounds.y, c.box.y, 1e-4f) << c.actor << " " << c.facing;
        EXPECT_NEAR(bounds.w, c.box.w, 1e-4f) << c.actor << " " << c.facing;
        EXPECT_NEAR(bounds.h, c.box.h, 1e-4f) << c.actor << " " << c.facing;
    }
}

TEST_F(GameObjectTest, SetUpCopiesThePhysicsOfTheDefinitionIntoOneBody) {
    ActorDefinition& crawler = actorRegistry().get("crawler");
    const ActorDefinition before = crawler;
    crawler.linearAirResistance = 0.5f;
    crawler.quadraticAirResistance = 0.25f;
    crawler.groundFriction = 3.0f;
    crawler.wallFriction = 2.0f;
    crawler.bounciness = 0.4f;
    crawler.platformCollision = true;
    crawler.collisionSensor = true;
    crawler.sweepMove = false;
    crawler.awakeAtStart = false;
    crawler.canSleep = true;
    crawler.highQualityIntegration = true;
    crawler.wakeNeighboursOnMove = false;
    const ActorObject* actor = world.spawnActorFacingRight("crawler", {5, 6});
    crawler = before;

    const PhysicalObject& physics = actor->physicalObject;
    EXPECT_EQ(physics.linearAirResistance, 0.5f);
    EXPECT_EQ(physics.quadraticAirResistance, 0.25f);
    EXPECT_EQ(physics.groundFriction, 3.0f);
    EXPECT_EQ(physics.wallFriction, 2.0f);
    EXPECT_EQ(physics.bounciness, 0.4f);
    EXPECT_TRUE(actor->platformCollision);
    EXPECT_FALSE(physics.awake);
    EXPECT_TRUE(physics.canSleep);
    EXPECT_TRUE(physics.highQualityIntegration);
    EXPECT_EQ(physics.wakeMask, 0u);
    EXPECT_EQ(physics.ownerEntity, actor);
    ASSERT_EQ(physics.bodies().size(), 1u);
    const PhysicalBody& body = physics.bodies()[0];
    EXPECT_EQ(body.owner, &physics);
    EXPECT_EQ(body.group, CollisionGroup::Enemies);
    EXPECT_EQ(body.mask, CollisionGroup::Player | CollisionGroup::Rocks | CollisionGroup::Tiles | CollisionGroup::Bounds);
    EXPECT_TRUE(body.sensor);
    EXPECT_FALSE(static_cast<const RectShape&>(*body.shape).sweepMove);
    EXPECT_FALSE(world.spawnActorFacingRight("crawler", {0, 0})->roundPosition);
    EXPECT_TRUE(world.spawnActorFacingRight("turner", {0, 0})->roundPosition);
}

TEST_F(GameObjectTest, AnActorsTimersStartAtRandomInTheirRangesInAFixedOrder) {
    // The same seed drawn by hand, in the documented order.
    Randomizer expected = random;
    const ActorObject* crawler = world.spawnActorFacingRight("crawler", {0, 0});
    const float edge = 0.1f + 0.1f * expected.nextFloat();
    const float meet = 0.1f + 0.4f * expected.nextFloat();
    const float countdown = 0.1f + 0.4f * expected.nextFloat();
    const float heartbeat = 0.25f * 2.0f + (2.0f - 0.25f * 2.0f) * expected.nextFloat();
    const float idle = 0.25f * 6.0f + (6.0f - 0.25f * 6.0f) * expected.nextFloat();
    EXPECT_EQ(crawler->edgeTimer, edge);
    EXPECT_EQ(crawler->meetTimer, meet);
    EXPECT_EQ(crawler->randomCountdown, countdown);
    EXPECT_EQ(crawler->heartbeatCountdown, heartbeat);
    EXPECT_EQ(crawler->idleSoundCountdown, idle);
    // Five draws, no more.
    EXPECT_EQ(random.next(), expected.next());

    // Resources and projectiles draw nothing.
    const Randomizer untouched = random;
    world.spawnResource("ore", {0, 0}, -1);
    world.spawnProjectile("spores", {0, 0}, 0);
    EXPECT_EQ(random.w(), untouched.w());
    EXPECT_EQ(random.z(), untouched.z());

    for (int i = 0; i < 200; ++i) {
        const ActorObject* actor = world.spawnActorFacingRight("crawler", {0, 0});
        EXPECT_GE(actor->edgeTimer, 0.1f);
        EXPECT_LE(actor->edgeTimer, 0.2f);
        for (float timer : {actor->meetTimer, actor->randomCountdown}) {
            EXPECT_GE(timer, 0.1f);
            EXPECT_LE(timer, 0.5f);
        }
        EXPECT_GE(actor->heartbeatCountdown, 0.5f);
        EXPECT_LE(actor->heartbeatCountdown, 2.0f);
        EXPECT_GE(actor->idleSoundCountdown, 1.5f);
        EXPECT_LE(actor->idleSoundCountdown, 6.0f);
    }
    // Without a heartbeat or an idle sound those two stay at 0.
    const ActorObject& plain = sentry();
    EXPECT_EQ(plain.heartbeatCountdown, 0.0f);
    EXPECT_EQ(plain.idleSoundCountdown, 0.0f);
    EXPECT_FALSE(plain.hasIdleSound);
    EXPECT_TRUE(crawler->hasIdleSound);
}

TEST_F(GameObjectTest, ACannonStartsAimingAlongItsFacing) {
    const struct {
        const char* actor;
        fpVector2 facing;
        float aim;
    } cases[] = {
        {"clinger", {0, -1}, -Pi / 2},  // atan2, not moved into [0, 2 pi)
        {"clinger", {-1, 0}, Pi},
        {"clinger", {1, 0}, 0},
        {"sentry", {0, -1}, 0},  // not a cannon
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(world.spawnActor(c.actor, {0, 0}, c.facing)->aimAngle, c.aim) << c.actor << " " << c.facing;
}

TEST_F(GameObjectTest, ActorsGetAnAnimatedPartPerCompiledAnimationAndThePlayerItsLegs) {
    const ActorObject* player = world.spawnPlayer();
    ASSERT_EQ(player->animationParts.size(), 2u);
    EXPECT_EQ(player->animationParts.at("body").machine->name(), "idle");
    EXPECT_EQ(player->animationParts.at("legs").machine->name(), "legs_idle");
    const ActorObject* crawler = world.spawnActorFacingRight("crawler", {0, 0});
    ASSERT_EQ(crawler->animationParts.size(), 1u);
    // Every actor has machines of its own.
    EXPECT_NE(crawler->animationParts.at("body").machine,
              world.spawnActorFacingRight("crawler", {0, 0})->animationParts.at("body").machine);
    EXPECT_TRUE(sentry().animationParts.empty());
    // An animation that is not compiled gives no part rather than a part without machine.
    EXPECT_TRUE(world.spawnActorFacingRight("phantom", {0, 0})->animationParts.empty());
}

TEST_F(GameObjectTest, AnimationInputsReachTheNamedPartOrEveryPartAndSkipPartsWithoutMachine) {
    // A name the table knows without a compiled machine, as a data error leaves it.
    test::addDefinitions(actorRegistry(), "test actors", R"(
      <Actor><Name>hollow_walker</Name><Template>crawler</Template><Animation>hollow</Animation></Actor>)");
    animationMachineTable()["hollow"] = nullptr;
    EXPECT_TRUE(world.spawnActorFacingRight("hollow_walker", {0, 0})->animationParts.empty());
    animationMachineTable().erase("hollow");

    ActorObject* player = world.spawnPlayer();
    BehaviorMachine& body = *player->animationParts.at("body").machine;
    BehaviorMachine& legs = *player->animationParts.at("legs").machine;
    // The attack cycle keeps a restart flag for a part that has no machine.
    player->animationParts["arm"].restart = true;

    EXPECT_TRUE(player->sendAnimationInput("walk", "legs"));
    body.update();
    legs.update();
    EXPECT_EQ(body.name(), "idle");
    EXPECT_EQ(legs.name(), "legs_walk");

    // To every part with a machine; the result is the last one's, in part-name order.
    EXPECT_TRUE(player->sendAnimationInput("idle", ""));
    EXPECT_FALSE(player->sendAnimationInput("attack", ""));
    body.update();
    legs.update();
    EXPECT_EQ(body.name(), "swing");
    EXPECT_EQ(legs.name(), "legs_idle");

    EXPECT_FALSE(player->sendAnimationInput("walk", "arm"));
    EXPECT_FALSE(player->sendAnimationInput("walk", "tail"));
    EXPECT_FALSE(sentry().sendAnimationInput("walk", ""));
}

TEST_F(GameObjectTest, AnActorResetRestartsEveryPartAndRefillsAPool) {
    ActorObject* player = world.spawnPlayer();
    player->animationParts["arm"];
    for (auto& [name, part] : player->animationParts) part.restart = false;
    player->timedOffset = {3, 4};
    player->timedOffsetRemaining = 1.0f;
    player->timedOffsetDuration = 2.0f;
    player->water = 1.0f;
    player->reset();
    for (const auto& [name, part] : player->animationParts) EXPECT_TRUE(part.restart) << name;
    EXPECT_EQ(player->decayingOffset(), fpVector2());
    EXPECT_EQ(player->timedOffsetDuration, 0.0f);
    EXPECT_EQ(player->water, 1.0f);  // only pools refill

    ActorObject* trough = world.spawnActorFacingRight("trough", {0, 0});
    EXPECT_EQ(trough->water, 7.0f);
    trough->water = 0.5f;
    trough->reset();
    EXPECT_EQ(trough->water, 7.0f);
}

TEST_F(GameObjectTest, TheTimedOffsetDecaysToNothing) {
    ResourceObject* ore = world.spawnResource("ore", {0, 0}, -1);
    ore->timedOffset = {10, -4};
    const struct {
        float remaining;
        float duration;
        fpVector2 offset;
    } cases[] = {{0.5f, 2.0f, {-2.5f, 1.0f}}, {2.0f, 2.0f, {-10.0f, 4.0f}}, {0.0f, 2.0f, {}}, {0.5f, 0.0f, {}},
                 {-1.0f, 2.0f, {}}};
    for (const auto& c : cases) {
        ore->timedOffsetRemaining = c.remaining;
        ore->timedOffsetDuration = c.duration;
        EXPECT_EQ(ore->decayingOffset(), c.offset) << c.remaining << " of " << c.duration;
    }
}

TEST_F(GameObjectTest, WaterLevelAndJumpVelocity) {
    ActorObject& actor = sentry();
    const struct {
        float water;
        float factor;
    } levels[] = {{0.0f, 0.2f}, {10.0f, 0.6f}, {20.0f, 1.0f}};
    for (const auto& level : levels) {
        actor.water = level.water;
        EXPECT_FLOAT_EQ(actor.waterLevelFactor(), level.factor) << level.water;
    }
    // No tank: always 0.
    ActorObject* crawler = world.spawnActorFacingRight("crawler", {0, 0});
    crawler->water = 3.0f;
    EXPECT_EQ(crawler->waterLevelFactor(), 0.0f);

    // In single precision, as the movement computes it.
    EXPECT_EQ(actor.jumpVelocity(), 500.0f * 1.2f);
    actor.dashing = true;
    EXPECT_EQ(actor.jumpVelocity(), 300.0f * 1.2f);
    EXPECT_EQ(crawler->jumpVelocity(), 0.0f);
}

TEST_F(GameObjectTest, TheAttachedDirectionTurnsWithTheFacingInWholeUnits) {
    const struct {
        fpVector2 facing;
        fpVector2 direction;
    } cases[] = {
        {{1, 0}, {0, 1}},   {{0, 1}, {-1, 0}}, {{-1, 0}, {0, -1}},
        {{0, -1}, {1, 0}},  {{0.70710677f, 0.70710677f}, {-1, 1}},
    };
    for (const auto& c : cases) {
        ActorObject* clinger = world.spawnActor("clinger", {0, 0}, c.facing);
        EXPECT_EQ(clinger->attachedDirection(), c.direction) << c.facing;
    }
    EXPECT_EQ(sentry().attachedDirection(), fpVector2());
}

TEST_F(GameObjectTest, WhetherTheCurrentWeaponCanBeUsed) {
    enum Weapon { Pick, Lance, Stomp, Nudge, WindUp, Spit, Shell, Ray, PastTheEnd };
    const struct {
        std::int32_t weapon;
        float water;
        float chargeTime;
        float cooldown;
        bool onGround;
        bool usable;
        const char* why;
    } cases[] = {
        {Pick, 0, 0, 0, false, true, "damage, no water needed"},
        {Pick, 0, 0, 0.01f, false, false, "cooling down"},
        {-1, 20, 0, 0, true, false, "no weapon"},
        {PastTheEnd, 20, 0, 0, true, false, "beyond the list"},
        {Lance, 10, 0, 0, false, false, "water exactly at the minimum"},
        {Lance, 10, 0.5f, 0, false, true, "a charge under way passes the water check"},
        {Lance, 10.5f, 0, 0, false, true, "water above the minimum"},
        {Stomp, 0, 0, 0, false, false, "in the air"},
        {Stomp, 0, 0, 0, true, true, "on the ground"},
        {Nudge, 20, 0, 0, true, false, "no damage, attack type 2"},
        {WindUp, 0, 0, 0, false, true, "damage only when charged"},
        {Spit, 0, 0, 0, false, true, "attack type 3 without damage"},
        {Shell, 0, 0, 0, false, true, "attack type 4 without damage"},
        {Ray, 0, 0, 0, false, true, "attack type 5 without damage"},
    };
    ActorObject& actor = sentry();
    ASSERT_EQ(actor.definition().weapons.size(), std::size_t(PastTheEnd));
    for (const auto& c : cases) {
        actor.weaponIndex = c.weapon;
        actor.water = c.water;
        actor.chargeTime = c.chargeTime;
        actor.weaponCooldown = c.cooldown;
        actor.onGround = c.onGround;
        EXPECT_EQ(actor.hasWeapon(), c.weapon >= 0 && c.weapon < PastTheEnd) << c.why;
        EXPECT_EQ(actor.canUseCurrentWeapon(), c.usable) << c.why;
    }
    actor.weaponIndex = Ray;
    EXPECT_EQ(actor.currentWeapon().name, "ray");
}

TEST_F(GameObjectTest, TownsfolkWalkAroundWhereTheyWereFirstAskedAbout) {
    ActorObject* actor = world.spawnActorFacingRight("crawler", {100, 50});
    NPCBehaviorData& data = actor->npcBehaviorData();
    EXPECT_EQ(data.homeArea, fpRect(40, -950, 120, 2000));
    EXPECT_EQ(data.targetX, 100.0f);
    EXPECT_EQ(data.noticeDistance, 80.0f);
    EXPECT_EQ(data.turnChance, 0.4f);
    EXPECT_EQ(data.minPause, 1.7f);
    EXPECT_EQ(data.maxPause, 3.0f);
    EXPECT_EQ(data.targetId, 0u);
    data.walkDirection = -1.0f;
    actor->setPosition({500, 500});
    EXPECT_EQ(&actor->npcBehaviorData(), &data);
    EXPECT_EQ(actor->npcBehaviorData().homeArea, fpRect(40, -950, 120, 2000));
    EXPECT_EQ(actor->npcBehaviorData().walkDirection, -1.0f);
}

TEST_F(GameObjectTest, ObjectsStartFromTheirDefinitions) {
    const Projectile* spores = world.spawnProjectile("spores", {0, 0}, 9);
    // The projectile deals its damage in its own name; the definition keeps no source.
    EXPECT_EQ(spores->damage.damage.sourceObjectId, spores->id());
    EXPECT_EQ(spores->damage.damage.amount, 2.0f);
    EXPECT_EQ(spores->damage.radius, 30.0f);
    EXPECT_EQ(spores->damage.falloff, CurveType::Linear);
    EXPECT_EQ(spores->definition().radialDamage.damage.sourceObjectId, 0);

    ActorDefinition& crawler = actorRegistry().get("crawler");
    const ActorDefinition before = crawler;
    crawler.invulnerable = true;
    crawler.activatesBarrels = true;
    crawler.constantSound = "hum";
    crawler.simpleAnimation = "wiggle";
    const ActorObject* actor = world.spawnActorFacingRight("crawler", {0, 0});
    crawler = before;
    EXPECT_TRUE(actor->invulnerable);
    EXPECT_TRUE(actor->activatesBarrels);
    EXPECT_EQ(actor->constantSound, "hum");
    EXPECT_EQ(actor->simpleAnimation, "wiggle");
    EXPECT_EQ(actor->hitPoints, 2.0f);
    EXPECT_EQ(actor->weaponIndex, 0);
    EXPECT_EQ(actor->toolIndex, -1);
    EXPECT_EQ(actor->behaviorMachine, nullptr);
}

TEST_F(GameObjectTest, AnActorLivesWhileItsHitPointsAreAboveTheThreshold) {
    ActorObject& actor = sentry();
    const struct {
        float hitPoints;
        bool alive;
    } cases[] = {
        {1.0f, true}, {0.0000101f, true}, {0.00001f, false}, {0.0f, false}, {-3.0f, false},
        {std::numeric_limits<float>::quiet_NaN(), false},
    };
    for (const auto& c : cases) {
        actor.hitPoints = c.hitPoints;
        EXPECT_EQ(actor.isAlive(), c.alive) << c.hitPoints;
    }
}

} // namespace
} // namespace zor
