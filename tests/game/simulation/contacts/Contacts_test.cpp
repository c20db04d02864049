// The contact rules on hand-made contacts between actors of the tests' own (names beginning
// with "c_") in a harness game: ramming and stomping, the player's push-back, pools,
// bouncers, own projectiles, breaking through the floor, the crush counter, head butts,
// ceiling-corner nudges and the step event.

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/BeamDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/definitions/NameEnumerations.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/contacts/ContactRules.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/entity/Projectile.h"
#include "game/world/physics/PhysicalCollision.h"
#include "game/world/PersistentTileMap.h"

#include "Framework/store/AchievementFile.h"
#include "Framework/store/AchievementStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

namespace zor::test {
namespace {

const char* const ContactActors = R"(
  <Actor>
    <Name>c_brute</Name>
    <CollisionBox>-10;-20;20;20</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <HitPoints>100</HitPoints>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>
  <Actor>
    <Name>c_spiker</Name>
    <CollisionBox>-10;-20;20;20</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <HitPoints>100</HitPoints>
    <Enemies>player</Enemies>
    <DamageOnContact Amount="1" KnockbackMultiplier="1"/>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>
  <Actor>
    <Name>c_rock</Name>
    <CollisionBox>-20;-20;40;20</CollisionBox>
    <CollisionGroup>rocks</CollisionGroup>
    <HitPoints>100</HitPoints>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>
  <Actor>
    <Name>c_slab</Name>
    <CollisionBox>-20;-40;40;40</CollisionBox>
    <CollisionGroup>rocks</CollisionGroup>
    <DamageCrush Amount="5" Tier="1" Type="crush"/>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>
  <Actor>
    <Name>c_bouncer</Name>
    <SpecialType>bouncer</SpecialType>
    <CollisionBox>-20;-10;40;10</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <AttachedDirection>0;1</AttachedDirection>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>
  <Actor>
    <Name>c_ladder</Name>
    <SpecialType>ladder</SpecialType>
    <CollisionBox>-10;-120;20;120</CollisionBox>
    <CollisionGroup>ladders</CollisionGroup>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>)";

const char* const ContactProjectiles = R"(
  <Projectile>
    <Name>c_dart</Name>
    <CollisionBox>-4;-4;8;8</CollisionBox>
    <CollisionGroup>projectiles</CollisionGroup>
    <ContactFuze>true</ContactFuze>
    <RadialDamage Amount="2" Tier="1" Radius="30" Filter="contact"/>
  </Projectile>)";

struct ContactGame {
    // `playing`: the game's own movement and contact rules run in its steps.
    explicit ContactGame(bool playing = false) {
        loadFixtureDefinitions();
        static const bool loaded = (addDefinitions(actorRegistry(), "contact actors", ContactActors),
                                    addDefinitions(projectileRegistry(), "contact projectiles", ContactProjectiles), true);
        (void)loaded;
        HarnessOptions options(5, "fixture_mine");
        options.gameMovement = playing;
        options.gameContacts = playing;
        harness = std::make_unique<GameHarness>(options);
        player().setPosition({100.0f, 100.0f});
    }

    ActorObject& player() { return *harness->world().player(); }
    GameObjectSimulator& objects() { return harness->objects(); }
    ActorObject& spawn(const char* name, const fpVector2& at) {
        return *harness->world().spawnActor(name, at, {1.0f, 0.0f});
    }
    // The player's definition with the test's changes.
    template <class Change>
    void changePlayer(Change change) {
        auto definition = std::make_shared<ActorDefinition>(player().definition());
        change(*definition);
        player().installDefinition(definition);
    }

    std::unique_ptr<GameHarness> harness;
};

// A dirt cell (tile type 1 of the fixture library) where the room had air.
void placeDirt(World& world, const iVector2& cell) {
    world.level->mainLayer().at(cell.x, cell.y) = 1;
    *world.level->tileMap->cell(cell.x, cell.y) |= TileBits::Solid;
}

// The player's head meeting the tile map from below.
PhysicalCollision ceilingTouch(const ActorObject& player, PhysicalBody& tiles, const fpVector2& target) {
    tiles.group = CollisionGroup::Tiles;
    PhysicalCollision contact;
    contact.body = &player.physicalObject.bodies().front();
    contact.otherBody = &tiles;
    contact.position = player.getPosition();
    contact.target = target;
    contact.normal = {0.0f, 1.0f};
    return contact;
}

PhysicalCollision touch(const GameObject& mover, const GameObject& other, const fpVector2& normal) {
    PhysicalCollision contact;
    contact.body = &mover.physicalObject.bodies().front();
    contact.otherBody = &other.physicalObject.bodies().front();
    contact.target = mover.getPosition();
    contact.position = mover.getPosition();
    contact.normal = normal;
    return contact;
}

TEST(Contacts, ThePlayerRamsAndStompsEnemiesByItsStateAndFall) {
    struct Case {
        const char* what;
        bool doubleJump;
        bool hidden;
        float fallDistance;
        float expectedLoss;
    };
    // FallDamage Distance 100, MinDmg 2, LinearDmg 4.
    const Case cases[] = {
        {"double jump rams for 20", true, false, 0.0f, 20.0f},
        {"a hidden player does not ram", true, true, 0.0f, 0.0f},
        {"a fall of exactly Distance does not stomp", false, false, 100.0f, 0.0f},
        {"one pixel more stomps for MinDmg + LinearDmg / 40", false, false, 101.0f, 2.1f},
    };
    for (const Case& c : cases) {
        ContactGame game;
        game.changePlayer([](ActorDefinition& d) {
            d.fallDistance = 100.0f;
            d.fallDamageMinimum = 2.0f;
            d.fallDamagePerDistance = 4.0f;
        });
        ActorObject& player = game.player();
        player.doubleJumpActive = c.doubleJump;
        player.hidden = c.hidden;
        player.fallDistance = c.fallDistance;
        ActorObject& enemy = game.spawn("c_brute", {100.0f, 130.0f});
        PhysicalCollision contact = touch(player, enemy, {0.0f, -1.0f});
        actorActorContact(game.objects(), contact, player, enemy);
        EXPECT_NEAR(100.0f - enemy.hitPoints, c.expectedLoss, 1e-4f) << c.what;
    }
}

TEST(Contacts, ActorsWithCoincidingCentresAreHurtWithoutANaNDirection) {
    ContactGame game;
    ActorObject& player = game.player();
    player.doubleJumpActive = true;
    ActorObject& enemy = game.spawn("c_brute", player.getPosition());
    PhysicalCollision contact = touch(player, enemy, {0.0f, 0.0f});
    actorActorContact(game.objects(), contact, player, enemy);
    EXPECT_FLOAT_EQ(enemy.hitPoints, 80.0f);
    EXPECT_TRUE(std::isfinite(enemy.physicalObject.velocity.x) && std::isfinite(enemy.physicalObject.velocity.y));
}

TEST(Contacts, ContactDamagePushesThePlayerBackKeepingTheLargerPushOrAddingAgainstIt) {
    struct Case {
        const char* what;
        float remaining;
        float normalX;
        float depth;
        bool doubleJump;
        float expected;  // in terms of the margin m: expected + factor x m
        float marginFactor;
    };
    const Case cases[] = {
        {"the same way keeps the larger push", 50.0f, 1.0f, 2.0f, false, 50.0f, 0.0f},
        {"a small push the same way grows to margin + depth", 0.5f, 1.0f, 2.0f, false, 2.0f, 1.0f},
        {"against the push it adds", 50.0f, -1.0f, 2.0f, false, 48.0f, -1.0f},
        {"a double-jumping player takes no contact damage and no push", 5.0f, 1.0f, 2.0f, true, 5.0f, 0.0f},
    };
    for (const Case& c : cases) {
        ContactGame game;
        game.changePlayer([](ActorDefinition& d) { d.allyGroup = FactionMask::Player; });
        ActorObject& player = game.player();
        player.doubleJumpActive = c.doubleJump;
        ActorObject& spiker = game.spawn("c_spiker", player.getPosition() - fpVector2(c.normalX * 15.0f, 0.0f));
        game.objects().pushBackRemaining = c.remaining;
        PhysicalCollision contact = touch(player, spiker, {c.normalX, 0.0f});
        contact.depth = c.depth;
        actorActorContact(game.objects(), contact, player, spiker);
        const float margin = game.objects().settings().pushBackMargin;
        EXPECT_NEAR(game.objects().pushBackRemaining, c.expected + c.marginFactor * margin, 1e-4f) << c.what;
        EXPECT_EQ(player.hitPoints < 10.0f, !c.doubleJump) << c.what;
    }
}

TEST(Contacts, PoolWaterIsTheLowerPartOfThePoolByItsFillAndStrictlyOverlapped) {
    ContactGame game;
    ActorObject& pool = game.spawn("trough", {200.0f, 200.0f});
    pool.water = 0.0f;  // the water is the lowest fifth: 2 px of the 10 px basin
    const fpRect basin = pool.physicalObject.bodies().front().getBounds();
    const float line = basin.bottom() - 2.0f;
    struct Case {
        const char* what;
        float bottom;
        bool inWater;
    };
    const Case cases[] = {
        {"reaching only the dry upper part", line - 1.0f, false},
        {"touching the water line", line, false},
        {"reaching below the line", line + 0.5f, true},
    };
    for (const Case& c : cases) {
        const fpRect box(basin.x + 5.0f, c.bottom - 20.0f, 10.0f, 20.0f);
        EXPECT_EQ(inPoolWater(pool, box), c.inWater) << c.what;
    }
    pool.water = 7.0f;
    EXPECT_TRUE(inPoolWater(pool, fpRect(basin.x + 5.0f, basin.y - 19.0f, 10.0f, 20.0f))) << "full to the brim";
}

TEST(Contacts, APoolNeverBlocksAndTakesTheActorWhoseBoxAtTheTargetIsInTheWater) {
    ContactGame game;
    ActorObject& player = game.player();
    ActorObject& pool = game.spawn("trough", {100.0f, 300.0f});
    for (const auto& [target, inWater] : {std::pair<fpVector2, bool>{{100.0f, 250.0f}, false}, {{100.0f, 300.0f}, true}}) {
        player.poolId = 0;
        PhysicalCollision contact = touch(player, pool, {0.0f, -1.0f});
        contact.target = target;
        actorActorContact(game.objects(), contact, player, pool);
        EXPECT_TRUE(contact.passThrough);
        EXPECT_EQ(player.poolId, inWater ? pool.id() : 0) << target.y;
    }
}

TEST(Contacts, ABouncerThrowsBackWhatTouchesItsFreeFaceOnly) {
    ContactGame game;
    ActorObject& player = game.player();
    ActorObject& bouncer = game.spawn("c_bouncer", {100.0f, 140.0f});
    struct Case {
        const char* what;
        fpVector2 normal;
        bool bounced;
        fpVector2 velocity;
    };
    const Case cases[] = {
        {"from above: up at 500 keeping the sideways speed", {0.0f, -1.0f}, true, {30.0f, -500.0f}},
        {"from the side: no bounce", {1.0f, 0.0f}, false, {30.0f, 200.0f}},
        {"no normal: taken, velocity kept", {0.0f, 0.0f}, true, {30.0f, 200.0f}},
    };
    for (const Case& c : cases) {
        player.physicalObject.velocity = {30.0f, 200.0f};
        player.fallDistance = 90.0f;
        player.jumpCount = 2;
        PhysicalCollision contact = touch(player, bouncer, c.normal);
        EXPECT_EQ(bounce(game.objects(), bouncer, contact, player), c.bounced) << c.what;
        EXPECT_NEAR(player.physicalObject.velocity.x, c.velocity.x, 1e-3f) << c.what;
        EXPECT_NEAR(player.physicalObject.velocity.y, c.velocity.y, 1e-3f) << c.what;
        const bool thrown = c.normal.y < 0.0f;
        EXPECT_EQ(contact.holdPosition, thrown) << c.what;
        EXPECT_EQ(player.fallDistance, thrown ? 0.0f : 90.0f) << c.what;
        EXPECT_EQ(player.jumpCount, thrown ? 0 : 2) << c.what;
    }
}

TEST(Contacts, AnActorNeverHitsItsOwnProjectile) {
    ContactGame game;
    ActorObject& player = game.player();
    auto* projectile = game.harness->world().spawnProjectile("spores", player.getPosition(), 0);
    ASSERT_NE(projectile, nullptr);
    for (const auto& [owner, passes] : {std::pair<std::int32_t, bool>{player.id(), true}, {player.id() + 1000, false}}) {
        projectile->ownerId = owner;
        PhysicalCollision contact = touch(player, *projectile, {1.0f, 0.0f});
        actorObjectContact(game.objects(), contact, player, *projectile);
        EXPECT_EQ(contact.passThrough, passes) << owner;
    }
}

TEST(Contacts, ALongFallBreaksThroughOnlyWhenSolidCellsWereThereAndAllBroke) {
    ContactGame game;
    game.changePlayer([](ActorDefinition& d) {
        d.fallTileDamageConstant = true;
        d.fallDistance = 40.0f;
    });
    ActorObject& player = game.player();
    // High in the air: nothing under the player to break.
    player.setPosition({100.0f, 100.0f});
    player.physicalObject.velocity = {0.0f, 300.0f};
    player.fallDistance = 200.0f;
    EXPECT_FALSE(fallDig(game.objects(), player)) << "an empty strip is no floor giving way";
    player.fallDistance = 10.0f;
    EXPECT_FALSE(fallDig(game.objects(), player)) << "below Distance";
}

TEST(Contacts, AContactFusedProjectileMarksTheSolidCellNearestToWhereItTouched) {
    ContactGame game;
    // The room's floor: row 8 from y 320.
    ASSERT_TRUE(game.objects().isSolidCell({2, 8}) && game.objects().isSolidCell({3, 8}));
    PhysicalObject level;
    PhysicalBody floor;
    floor.group = CollisionGroup::Tiles;
    floor.owner = &level;
    struct Case {
        const char* what;
        float x;
        std::uint32_t touchedGroup;
        iVector2 pending;
    };
    const Case cases[] = {
        {"one column under the box", 105.0f, CollisionGroup::Tiles, {2, 8}},
        {"two columns: the nearer top-left corner", 118.0f, CollisionGroup::Tiles, {3, 8}},
        {"not the tiles: no cell", 118.0f, CollisionGroup::Enemies, {-1, -1}},
    };
    for (const Case& c : cases) {
        Projectile& dart = *game.harness->world().spawnProjectile("c_dart", {c.x, 300.0f}, 0);
        floor.group = c.touchedGroup;
        PhysicalCollision contact;
        contact.body = &dart.physicalObject.bodies().front();
        contact.otherBody = &floor;
        contact.position = {c.x, 319.0f};
        contact.target = {c.x, 330.0f};
        contact.normal = {0.0f, -1.0f};
        projectileContact(game.objects(), dart, contact);
        EXPECT_EQ(dart.contactGroups, c.touchedGroup) << c.what;
        EXPECT_EQ(dart.pendingCell, c.pending) << c.what;
        EXPECT_NEAR(dart.motionDirection.y, 1.0f, 1e-5f) << c.what;
    }
}

TEST(Contacts, APlayerPinnedUnderTheEdgeOfAFallingSlabStepsAsideUpTo7PixelsElseIsCrushed) {
    for (const float overlap : {7.0f, 8.0f}) {
        ContactGame game;
        ActorObject& player = game.player();
        player.setPosition({100.0f, 319.5f});  // just over the floor, x 90 to 110
        // The slab's left edge lies `overlap` px inside the player's right edge.
        ActorObject& slab = game.spawn("c_slab", {110.0f - overlap + 20.0f, 285.0f});  // just above its head
        slab.physicalObject.velocity = {0.0f, 200.0f};
        const float hitPoints = player.hitPoints;
        PhysicalCollision contact = touch(slab, player, {0.0f, -1.0f});
        contact.depth = 5.0f;
        actorActorContact(game.objects(), contact, slab, player);
        EXPECT_TRUE(contact.passThrough) << overlap;
        const bool steppedAside = overlap < 8.0f;
        EXPECT_NEAR(player.getPosition().x, steppedAside ? 100.0f - overlap : 100.0f, 0.01f) << overlap;
        EXPECT_EQ(player.hitPoints < hitPoints, !steppedAside) << overlap;
        EXPECT_EQ(player.goodLoot, !steppedAside) << overlap;
    }
}

TEST(Contacts, ABeamKnocksBackWhatItHurtsWhenASensorAndEverythingItTouchesWhenSolid) {
    struct Case {
        const char* name;
        bool sensor;
        float amount;
        bool beamProof;
        bool pushed;
        float hitPoints;
    };
    const Case cases[] = {
        {"sensor beam hurting", true, 5.0f, false, true, 95.0f},
        {"sensor beam on a beam-proof actor", true, 5.0f, true, false, 100.0f},
        {"sensor beam with knockback alone", true, 0.0f, false, false, 100.0f},
        {"solid beam on a beam-proof actor", false, 5.0f, true, true, 100.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ContactGame game;
        ActorObject& brute = game.spawn("c_brute", {300.0f, 100.0f});
        auto proofed = std::make_shared<ActorDefinition>(brute.definition());
        proofed->invulnerableToBeams = c.beamProof;
        proofed->knockbackSensitivity = 0.5f;
        brute.installDefinition(proofed);
        BeamDefinition definition;
        definition.isSensor = c.sensor;
        definition.damage.amount = c.amount;
        definition.damage.knockbackMultiplier = 200.0f;
        definition.stunTime = 0.4f;
        Beam beam(definition);
        PhysicalCollision contact = touch(brute, game.player(), {1.0f, 0.0f});

        beamActorContact(game.objects(), beam, brute, contact);

        EXPECT_FLOAT_EQ(brute.hitPoints, c.hitPoints);
        EXPECT_FLOAT_EQ(brute.physicalObject.velocity.x, c.pushed ? 100.0f : 0.0f);
        EXPECT_FLOAT_EQ(brute.knockbackTime, c.pushed ? 0.2f : 0.0f);
    }
}

TEST(Contacts, ALadderTopCarriesAnActorUntilItPushesDownAndAMovingLadderNeverCarriesThePlayer) {
    struct Case {
        const char* what;
        bool player;
        float moveY;
        std::int32_t climbing;
        bool holdsLadder;
        float ladderVelocityY;
        bool carried;
    };
    const Case cases[] = {
        {"standing on the top", true, 0.0f, 0, false, 0.0f, true},
        {"pushing down", true, 1.0f, 0, false, 0.0f, false},
        {"pushing up", true, -1.0f, 0, false, 0.0f, true},
        {"climbing", true, 0.0f, 1, false, 0.0f, false},
        {"holding a ladder", true, 0.0f, 0, true, 0.0f, false},
        {"the player on a moving ladder", true, 0.0f, 0, false, 40.0f, false},
        {"another actor on a moving ladder", false, 0.0f, 0, false, 40.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ContactGame game;
        ActorObject& ladder = game.spawn("c_ladder", {100.0f, 320.0f});
        ladder.physicalObject.velocity = {0.0f, c.ladderVelocityY};
        ActorObject& mover = c.player ? game.player() : game.spawn("c_brute", {300.0f, 100.0f});
        mover.setPosition({100.0f, 200.0f});  // feet on the ladder's top
        mover.moveVector = {0.0f, c.moveY};
        mover.climbing = c.climbing;
        mover.ladderId = c.holdsLadder ? ladder.id() : 0;
        PhysicalCollision contact = touch(mover, ladder, {0.0f, -1.0f});
        actorActorContact(game.objects(), contact, mover, ladder);
        EXPECT_EQ(contact.passThrough, !c.carried);
    }
}

TEST(ContactsInGame, APlayerDroppedOntoARockStandsOnItAndRidesIt) {
    ContactGame game(true);
    ActorObject& rock = game.spawn("c_rock", {150.0f, 320.0f});
    ActorObject& player = game.player();
    player.setPosition({150.0f, 240.0f});
    player.physicalObject.velocity = {};
    game.harness->runSteps(60);
    EXPECT_EQ(player.standingOnId, rock.id());
    EXPECT_NEAR(player.getPosition().y, 300.0f, 1.0f) << "on the rock's top";
}

TEST(Contacts, ACrushedEnemyCountsForTheCrushCounterOnlyWithinTwoHundredPixelsOfThePlayer) {
    for (const float distance : {200.0f, 201.0f}) {
        SCOPED_TRACE(distance);
        ContactGame game;
        AchievementFile file;  // defining a counter starts it at 0
        file.counters.push_back({"cntr_crushed_enemies", 0, false});
        localAchievements().define(file);
        ActorObject& enemy = game.spawn("c_brute", {400.0f, 319.5f});  // on the floor
        game.player().setPosition({400.0f - distance, 319.5f});
        ActorObject& slab = game.spawn("c_slab", {400.0f, 299.0f});
        slab.physicalObject.velocity = {0.0f, 200.0f};
        PhysicalCollision contact = touch(slab, enemy, {0.0f, -1.0f});
        contact.depth = 5.0f;
        actorActorContact(game.objects(), contact, slab, enemy);
        ASSERT_TRUE(enemy.goodLoot) << "crushed";
        const AchievementCounter* counter = localAchievements().findCounter("cntr_crushed_enemies");
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(counter->value, distance <= 200.0f ? 1 : 0);
    }
}

TEST(Contacts, AHeadButtDigsTheCeilingOnlyAboveTwoHundredFiftyAndBreaksItInOneHitFromSixHundred) {
    // Feet at 194: the head meets the ceiling cell (2, 3) at y 160.
    const iVector2 ceiling(2, 3);
    struct Case {
        float speed;
        bool normalJump;
        bool damaged;
        bool broken;
    };
    const Case cases[] = {{250.0f, false, false, false},
                          {425.0f, false, true, false},
                          {600.0f, false, true, true},
                          {900.0f, false, true, true},
                          {600.0f, true, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.speed << (c.normalJump ? " normal jump" : ""));
        ContactGame game;
        game.changePlayer([](ActorDefinition& d) { d.headBumpDamage = true; });
        World& world = game.harness->world();
        placeDirt(world, ceiling);
        ActorObject& player = game.player();
        player.setPosition({100.0f, 194.0f});
        player.normalJump = c.normalJump;
        player.physicalObject.velocity = {0.0f, -c.speed};
        PhysicalBody tiles;
        PhysicalCollision contact = ceilingTouch(player, tiles, {100.0f, 190.0f});
        headBump(game.objects(), player, contact);
        const CellRecord* record = game.objects().findCellRecord(ceiling);
        const bool broken = !game.objects().isSolidCell(ceiling);
        EXPECT_EQ(broken, c.broken);
        EXPECT_EQ(broken || (record && world.findEntity(record->tileDamageId)), c.damaged);
    }
}

TEST(Contacts, APlayerClippingACeilingCornerIsNudgedPastItAndKeepsRising) {
    // The ceiling ends at x 80 (cell (1, 3)); the player's left edge is 5 px under it.
    struct Case {
        float velocityX;
        float keptVelocityX;  // moving against the nudge stops the sideways motion
    };
    for (const Case c : {Case{-30.0f, 0.0f}, Case{30.0f, 30.0f}}) {
        SCOPED_TRACE(c.velocityX);
        ContactGame game;
        placeDirt(game.harness->world(), {1, 3});
        ActorObject& player = game.player();
        player.setPosition({85.0f, 194.0f});
        player.physicalObject.velocity = {c.velocityX, -300.0f};
        PhysicalBody tiles;
        PhysicalCollision contact = ceilingTouch(player, tiles, {85.0f, 190.0f});
        headBump(game.objects(), player, contact);
        EXPECT_FLOAT_EQ(player.getPosition().x, 90.0f);
        EXPECT_FLOAT_EQ(player.getPosition().y, 190.0f);
        EXPECT_TRUE(contact.holdPosition);
        EXPECT_EQ(player.physicalObject.velocity, fpVector2(c.keptVelocityX, -300.0f));
        EXPECT_EQ(player.timedOffset, fpVector2(5.0f, 0.0f));
        EXPECT_FLOAT_EQ(player.timedOffsetRemaining, 0.1f);
        EXPECT_TRUE(game.objects().isSolidCell({1, 3})) << "a nudge never digs";
    }
}

// A machine that keeps "atStep" pending so the test can see it was posted.
std::shared_ptr<BehaviorMachine> stepWatcher() {
    static const bool built = [] {
        static DefinitionRegistry<BehaviorDefinition> machines("Behaviors", "Machine", "Name");
        machines.loadText("contact behaviors", R"(<Behaviors>
          <Machine><Name>c_step</Name><InitialState>wait</InitialState>
            <State Name="wait" State="CWait"><Transition Input="atStep" Destination="" StealInput="false"/></State>
          </Machine></Behaviors>)");
        buildMachineTable(machines, "contact behaviors", behaviorMachineTable());
        return true;
    }();
    (void)built;
    return makeBehaviorMachine(behaviorMachineTable().at("c_step"));
}

TEST(Contacts, AtStepIsPostedOnlyOnGroundWhenBothProbesATileAboveTheTopAreFree) {
    // A crawler (it collides with tiles) on the floor at x 172: top 304, probes at y 264 over
    // x 160 and, by its motion, 156 (cell 3) or 188 (cell 4).
    struct Case {
        const char* what;
        std::int32_t groundState;
        float velocityX;
        std::int32_t blockedColumn;  // -1: nothing over the brute
        bool atStep;
    };
    const Case cases[] = {
        {"open above", 1, -30.0f, -1, true},
        {"in the air", 0, -30.0f, -1, false},
        {"a tile over its top", 1, 30.0f, 4, false},
        {"a tile over the side it walks to", 1, -30.0f, 3, false},
        {"a tile over the side it walks from", 1, 30.0f, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ContactGame game;
        if (c.blockedColumn >= 0) {
            placeDirt(game.harness->world(), {c.blockedColumn, 6});
            game.objects().buildLevelPhysics();
        }
        ActorObject& crawler = game.spawn("crawler", {172.0f, 320.0f});
        crawler.behaviorMachine = stepWatcher();
        crawler.groundState = c.groundState;
        crawler.physicalObject.velocity = {c.velocityX, 0.0f};
        postCollisionEvents(game.objects(), crawler);
        EXPECT_EQ(crawler.behaviorMachine->takeInput("atStep", true), c.atStep);
    }
}

} // namespace
} // namespace zor::test
