// The gate every hurt passes: who may be damaged by what, how much the damage takes off,
// the timers, sounds, effects and events it starts, the player's death cause, and falls.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/damage/DeathCause.h"
#include "game/world/World.h"
#include "game/world/entity/EffectObject.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/Damage.h"
#include "game/definitions/EffectDefinition.h"

#include "Framework/core/debug/DebugFlags.h"

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"
#include "tests/support/game/ListeningMachine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor::test {
namespace {

void loadDamageDefinitions() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(effectRegistry(), "damage effects", "<Effect><Name>bruise</Name></Effect>");
        addDefinitions(actorRegistry(), "damage actors", R"(
          <Actor><Name>brute</Name><Template>crawler</Template><HitPoints>10</HitPoints><Hardness>2</Hardness>
            <AttackedSound>brute_ouch</AttackedSound><AttackedInvulnerableSound>brute_tink</AttackedInvulnerableSound>
            <CrushedSound>brute_squish</CrushedSound><AttackedEffect Offset="0;-4">bruise</AttackedEffect></Actor>
          <Actor><Name>shellback</Name><Template>brute</Template><VulnerableDirection>0;1</VulnerableDirection></Actor>
          <Actor><Name>plated</Name><Template>brute</Template><CollisionGroup>hard_enemies</CollisionGroup></Actor>
          <Actor><Name>padded</Name><Template>brute</Template><DamageReduction>0.5</DamageReduction></Actor>
          <Actor><Name>faller</Name><Template>brute</Template><HitPoints>20</HitPoints><Hardness>1</Hardness>
            <FallDamage Distance="100" LinearDmg="2" MinDmg="3"/></Actor>
          <Actor><Name>feather</Name><Template>faller</Template>
            <FallDamage FallDamageIgnore="true" Distance="100" LinearDmg="2" MinDmg="3"/></Actor>
          <Actor><Name>lift</Name><CollisionBox>-30;0;60;10</CollisionBox>
            <CollisionGroup>transport</CollisionGroup></Actor>
          <Actor><Name>letters_12</Name><Template>crawler</Template></Actor>
          <Actor><Name>letters12</Name><Template>crawler</Template></Actor>
          <Actor><Name>enemy_turtle</Name><Template>crawler</Template></Actor>)");
        return true;
    }();
    (void)loaded;
}

DamageData damageOf(DamageType type, float amount = 1.0f, std::int32_t tier = 5) {
    DamageData damage;
    Damage::init(damage, tier, std::int32_t(type), amount, 0.0f, 0.0f);
    return damage;
}

class ActorDamageTest : public ::testing::Test {
protected:
    void SetUp() override {
        loadDamageDefinitions();
        harness = std::make_unique<GameHarness>(HarnessOptions(1, "fixture_deep"));
    }

    World& world() { return harness->world(); }
    GameObjectSimulator& objects() { return harness->objects(); }
    ActorObject& player() { return *world().player(); }
    ActorObject& spawn(const std::string& name, const fpVector2& position = {400, 200}) {
        return listening(*world().spawnActorFacingRight(name, position));
    }
    static ActorObject& listening(ActorObject& actor) {
        actor.behaviorMachine = listeningMachine({"attacked", "damageFront", "damageBack"});
        return actor;
    }

    std::unique_ptr<GameHarness> harness;
};

const DamageType AllTypes[] = {DamageType::Normal, DamageType::Crush,    DamageType::WoodCrush, DamageType::Unnamed,
                               DamageType::Pressure, DamageType::Weak,   DamageType::Suicide,   DamageType::Tile,
                               DamageType::Fall,   DamageType::Reduced,  DamageType::EnemyAndTile,
                               DamageType::Barrier};

TEST_F(ActorDamageTest, BusyActorsTakeOnlyCrushSuicideAndFallAndTheFlagOnlyLetsBarriersThroughToOthers) {
    for (const bool isPlayer : {true, false}) {
        for (const DamageType type : AllTypes) {
            SCOPED_TRACE(std::string(isPlayer ? "player" : "brute") + " type " + std::to_string(int(type)));
            ActorObject& actor = isPlayer ? player() : spawn("brute");
            const DamageData damage = damageOf(type);

            actor.busyFlags = BusyFlag::Sale;
            const bool passesBusy =
                type == DamageType::Crush || type == DamageType::Suicide || type == DamageType::Fall;
            EXPECT_EQ(objects().canDamageActor(actor, damage, {1, 0}), passesBusy);
            actor.busyFlags = 0;

            actor.invulnerable = true;
            actor.pendingSounds.clear();
            const bool throughFlag = !isPlayer && type == DamageType::Barrier;
            EXPECT_EQ(objects().canDamageActor(actor, damage, {1, 0}), throughFlag);
            EXPECT_EQ(actor.pendingSounds.empty(), throughFlag || isPlayer) << "the tink of a refusal";
            actor.invulnerable = false;

            actor.invulnerabilityTime = 0.5f;
            const bool throughTimer = type == DamageType::Crush || type == DamageType::WoodCrush ||
                                      (!isPlayer && type == DamageType::Barrier);
            EXPECT_EQ(objects().canDamageActor(actor, damage, {1, 0}), throughTimer);
            actor.invulnerabilityTime = 0.0f;

            EXPECT_TRUE(objects().canDamageActor(actor, damage, {1, 0}));
            if (!isPlayer) world().removeEntity(&actor);
        }
    }
}

TEST_F(ActorDamageTest, ATierBelowTheHardnessNeverHurtsNorDoesAnythingHurtTheDead) {
    ActorObject& brute = spawn("brute");  // Hardness 2
    for (const DamageType type : AllTypes) {
        EXPECT_FALSE(objects().damageActor(brute, damageOf(type, 5.0f, 1), {1, 0})) << int(type);
        EXPECT_TRUE(objects().canDamageActor(brute, damageOf(type, 5.0f, 2), {1, 0})) << int(type);
    }
    EXPECT_EQ(brute.hitPoints, 10.0f);
    brute.hitPoints = 0.00001f;
    EXPECT_FALSE(objects().canDamageActor(brute, damageOf(DamageType::Crush), {1, 0}));
}

TEST_F(ActorDamageTest, WoodCrushSkipsDirectionAndTimerButNotHardEnemies) {
    ActorObject& shellback = spawn("shellback");
    shellback.invulnerabilityTime = 1.0f;
    EXPECT_TRUE(objects().canDamageActor(shellback, damageOf(DamageType::WoodCrush), {1, 0}));
    EXPECT_FALSE(objects().canDamageActor(spawn("plated"), damageOf(DamageType::WoodCrush), {1, 0}));
    EXPECT_TRUE(objects().canDamageActor(spawn("plated"), damageOf(DamageType::Normal), {1, 0}));
}

TEST_F(ActorDamageTest, AVulnerableDirectionTakesOnlyDamageTravellingThatWay) {
    struct Case {
        fpVector2 direction;
        bool hurt;
    };
    // Rounded half away from zero, the direction must come out (0, 1).
    for (const Case& c : {Case{{0, 1}, true}, Case{{0.4f, 0.9f}, true}, Case{{0, 0.5f}, true}, Case{{1, 0}, false},
                          Case{{0.6f, 0.6f}, false}, Case{{0, -1}, false}, Case{{0, 0.4f}, false}}) {
        SCOPED_TRACE(std::to_string(c.direction.x) + "," + std::to_string(c.direction.y));
        ActorObject& shellback = spawn("shellback");
        EXPECT_EQ(objects().damageActor(shellback, damageOf(DamageType::Normal), c.direction), c.hurt);
        EXPECT_EQ(shellback.hitPoints, c.hurt ? 9.0f : 10.0f);
        const std::vector<std::string> expected{c.hurt ? "brute_ouch" : "brute_tink"};
        EXPECT_EQ(shellback.pendingSounds, expected);
    }
}

TEST_F(ActorDamageTest, ThePlayerIsSparedWhileInvincibleInvulnerableByLevelOrLeaving) {
    const DamageData damage = damageOf(DamageType::Crush);
    EXPECT_TRUE(objects().canDamageActor(player(), damage, {1, 0}));

    DebugFlag& invincible = declareDebugToggle(DebugToggle("invincible", DebugToggle::Toggle, "game debug"));
    invincible = true;
    EXPECT_FALSE(objects().canDamageActor(player(), damage, {1, 0}));
    invincible = false;

    world().level->playerInvulnerable = true;
    EXPECT_FALSE(objects().canDamageActor(player(), damage, {1, 0}));
    world().level->playerInvulnerable = false;

    harness->simulator().requestLevel("fixture_mine", "[start]", fpVector2());
    EXPECT_FALSE(objects().canDamageActor(player(), damage, {1, 0}));
    // Others are not spared.
    EXPECT_TRUE(objects().canDamageActor(spawn("brute"), damage, {1, 0}));
}

TEST_F(ActorDamageTest, TheAmountFollowsToughnessTypeAndReduction) {
    struct Case {
        const char* label;
        bool isPlayer;
        const char* actor;
        DamageType type;
        float enemyReduction;
        float enemyAmount;
        float lost;
    };
    // Brutes and the player have 10 hit points; the amount is 1.
    const Case cases[] = {
        {"brute", false, "brute", DamageType::Normal, 0, 0, 1},
        {"brute, half its toughness taken off: doubled", false, "brute", DamageType::Normal, 5, 0, 2},
        {"brute, toughness down to 0.5: the divisor stays 1", false, "brute", DamageType::Normal, 9.5f, 0, 10},
        {"brute, enemy amount replaces the amount", false, "brute", DamageType::Normal, 0, 3, 3},
        {"player, enemy reduction and amount ignored", true, "", DamageType::Normal, 5, 3, 1},
        {"player, reduced: half", true, "", DamageType::Reduced, 0, 0, 0.5f},
        {"brute, reduced: whole", false, "brute", DamageType::Reduced, 0, 0, 1},
        {"player, tile: nothing", true, "", DamageType::Tile, 0, 0, 0},
        {"brute, tile: nothing", false, "brute", DamageType::Tile, 0, 0, 0},
        {"player, enemy and tile: nothing", true, "", DamageType::EnemyAndTile, 0, 0, 0},
        {"brute, enemy and tile: whole", false, "brute", DamageType::EnemyAndTile, 0, 0, 1},
        {"padded brute: halved by its damage reduction", false, "padded", DamageType::Normal, 0, 0, 0.5f},
        {"brute, barrier without enemy amount: ordinary", false, "brute", DamageType::Barrier, 0, 0, 1},
        {"brute, barrier with enemy amount: killed", false, "brute", DamageType::Barrier, 0, 0.5f, 10},
        {"player, barrier with enemy amount: ordinary", true, "", DamageType::Barrier, 0, 0.5f, 1},
        {"brute, crush: killed", false, "brute", DamageType::Crush, 0, 0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ActorObject& actor = c.isPlayer ? listening(player()) : spawn(c.actor);
        actor.hitPoints = 10.0f;
        actor.invulnerabilityTime = 0.0f;
        DamageData damage;
        Damage::init(damage, 5, std::int32_t(c.type), 1.0f, c.enemyReduction, c.enemyAmount);
        EXPECT_TRUE(objects().damageActor(actor, damage, {0, 1}));
        EXPECT_FLOAT_EQ(10.0f - actor.hitPoints, c.lost);
        EXPECT_EQ(actor.lastDamageType, c.type);
        EXPECT_TRUE(heard(actor, "attacked"));
    }
}

TEST_F(ActorDamageTest, LeftoverIsTheAmountTheKillDidNotUse) {
    struct Case {
        float hitPoints;
        float amount;
        float enemyReduction;
        float leftover;
    };
    // Scale 1: 25 on 10 leaves 15; scale 2 (reduction 5): 10 hit points take 5 of the amount.
    for (const Case& c : {Case{10, 25, 0, 15}, Case{10, 3, 0, 0}, Case{10, 25, 5, 20}, Case{4, 25, 5, 23}}) {
        ActorObject& brute = spawn("brute");
        brute.hitPoints = c.hitPoints;
        DamageData damage;
        Damage::init(damage, 5, 0, c.amount, c.enemyReduction, 0.0f);
        float leftover = -1.0f;
        EXPECT_TRUE(objects().damageActor(brute, damage, {1, 0}, &leftover));
        EXPECT_FLOAT_EQ(leftover, c.leftover) << c.hitPoints << " " << c.amount << " " << c.enemyReduction;
    }
    ActorObject& brute = spawn("brute");
    float leftover = -1.0f;
    EXPECT_FALSE(objects().damageActor(brute, damageOf(DamageType::Normal, 25, 1), {1, 0}, &leftover));
    EXPECT_EQ(leftover, 0.0f);
}

TEST_F(ActorDamageTest, AHurtStartsTimersSoundsAndEffectsOnlyWhenItDealtDamage) {
    int hurts = 0;
    EventConnection counting = world().playerHurt.connect(&hurts, [](int* count) { ++*count; });
    std::vector<EffectObject*> effects;
    EventConnection added = world().entityAdded.connect(&effects, [](std::vector<EffectObject*>* list, Entity* entity) {
        if (entity->type() == EntityType::Effect) list->push_back(static_cast<EffectObject*>(entity));
    });

    DamageData damage = damageOf(DamageType::Normal);
    damage.playerInvulnerabilityCooldown = 1.5f;
    damage.enemyInvulnerabilityCooldown = 0.25f;
    EXPECT_TRUE(objects().damageActor(player(), damage, {1, 0}));
    EXPECT_EQ(player().invulnerabilityTime, 1.5f);
    EXPECT_EQ(player().hitFlashTime, 0.4f);
    EXPECT_EQ(player().hitFlashLength, 0.4f);
    EXPECT_EQ(hurts, 1);

    ActorObject& brute = spawn("brute");
    EXPECT_TRUE(objects().damageActor(brute, damage, {1, 0}));
    EXPECT_EQ(brute.invulnerabilityTime, 0.25f);
    EXPECT_EQ(brute.pendingSounds, std::vector<std::string>{"brute_ouch"});
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0]->definition, &getEffectDefinition("bruise"));
    EXPECT_EQ(effects[0]->getPosition(), brute.center() + fpVector2(0, -4));
    EXPECT_EQ(hurts, 1);

    // A killing blow makes no cry, but shows; a harmless one starts nothing.
    ActorObject& victim = spawn("brute");
    EXPECT_TRUE(objects().damageActor(victim, damageOf(DamageType::Normal, 10), {1, 0}));
    EXPECT_TRUE(victim.pendingSounds.empty());
    EXPECT_EQ(effects.size(), 2u);
    ActorObject& untouched = spawn("brute");
    EXPECT_TRUE(objects().damageActor(untouched, damageOf(DamageType::Tile), {1, 0}));
    EXPECT_EQ(untouched.invulnerabilityTime, 0.0f);
    EXPECT_EQ(untouched.hitFlashTime, 0.0f);
    player().invulnerabilityTime = 0.0f;
    EXPECT_TRUE(objects().damageActor(player(), damageOf(DamageType::EnemyAndTile), {1, 0}));
    EXPECT_EQ(player().hitPoints, 9.0f);
    EXPECT_EQ(player().invulnerabilityTime, 0.0f);
    EXPECT_EQ(hurts, 1);
    EXPECT_EQ(effects.size(), 2u);
}

TEST_F(ActorDamageTest, ACrushKillsThroughTheTimerWithItsSoundButNotThroughTheFlag) {
    ActorObject& brute = spawn("brute", {300, 200});
    brute.invulnerabilityTime = 5.0f;
    EXPECT_TRUE(objects().damageActor(brute, damageOf(DamageType::Crush), {1, 0}));
    EXPECT_EQ(brute.hitPoints, 0.0f);
    ASSERT_EQ(world().soundRequests.size(), 1u);
    EXPECT_EQ(world().soundRequests[0].cue, "brute_squish");
    EXPECT_EQ(world().soundRequests[0].position, fpVector2(300, 200));

    ActorObject& guarded = spawn("brute");
    guarded.invulnerable = true;
    EXPECT_FALSE(objects().damageActor(guarded, damageOf(DamageType::Crush), {1, 0}));
    EXPECT_EQ(guarded.hitPoints, 10.0f);
}

TEST_F(ActorDamageTest, TheSideEventTellsFrontFromBackByTheFacing) {
    struct Case {
        float facing;
        float direction;
        const char* event;
    };
    for (const Case& c : {Case{1, -1, "damageFront"}, Case{1, 1, "damageBack"}, Case{-1, 1, "damageFront"},
                          Case{-1, -1, "damageBack"}, Case{0, -1, "damageFront"}, Case{1, 0, ""}}) {
        SCOPED_TRACE(std::to_string(c.facing) + " " + std::to_string(c.direction));
        ActorObject& brute = spawn("brute");
        brute.facing = {c.facing, 0};
        // A harmless tile damage still posts the side event.
        EXPECT_TRUE(objects().damageActor(brute, damageOf(DamageType::Tile), {c.direction, 0.5f}));
        EXPECT_EQ(heard(brute, "damageFront"), std::string(c.event) == "damageFront");
        EXPECT_EQ(heard(brute, "damageBack"), std::string(c.event) == "damageBack");
    }
}

TEST_F(ActorDamageTest, AKilledPlayerRecordsTheCauseOfDeath) {
    struct Case {
        const char* label;
        DamageType type;
        const char* source;
        const char* cause;
    };
    const Case cases[] = {
        {"letters, underscore, digits", DamageType::Normal, "letters_12", "letters"},
        {"letters then digits", DamageType::Normal, "letters12", "letters"},
        {"no digits: whole", DamageType::Normal, "enemy_turtle", "enemy_turtle"},
        {"no source", DamageType::Normal, "", "fallback"},
        {"a fall", DamageType::Fall, "enemy_turtle", "fall"},
        {"a wood crush", DamageType::WoodCrush, "enemy_turtle", "crush"},
        {"a crush", DamageType::Crush, "enemy_turtle", "crush"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        player().hitPoints = 1.0f;
        player().invulnerabilityTime = 0.0f;
        world().progress.lastDeathCause = "unset";
        DamageData damage = damageOf(c.type, 5.0f);
        if (*c.source) damage.sourceObjectId = spawn(c.source).id();
        EXPECT_TRUE(objects().damageActor(player(), damage, {1, 0}));
        EXPECT_EQ(world().progress.lastDeathCause, c.cause);
    }
    // A survivor records nothing, and neither does another actor's death.
    player().hitPoints = 10.0f;
    player().invulnerabilityTime = 0.0f;
    world().progress.lastDeathCause = "unset";
    EXPECT_TRUE(objects().damageActor(player(), damageOf(DamageType::Normal), {1, 0}));
    EXPECT_TRUE(objects().damageActor(spawn("brute"), damageOf(DamageType::Crush), {1, 0}));
    EXPECT_EQ(world().progress.lastDeathCause, "unset");
}

TEST(DeathCauseTest, TheNameIsCutBeforeItsFirstDigit) {
    struct Case {
        const char* name;
        const char* cause;
    };
    const Case cases[] = {{"letters_12", "letters"}, {"letters12", "letters"}, {"enemy_turtle", "enemy_turtle"},
                          {"a_1", "a"}, {"_1x", "_"}, {"x_1_2", "x"}, {"x__3", "x_"}, {"12abc", ""}, {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(deathCauseOfName(c.name), c.cause) << c.name;
}

TEST_F(ActorDamageTest, AFallOfItsDistanceOrMoreHurtsUnlessIgnoredOrOnALift) {
    struct Case {
        const char* actor;
        float distance;
        float lost;
    };
    // Distance 100, MinDmg 3, LinearDmg 2 per 40 px beyond.
    for (const Case& c : {Case{"faller", 99.9f, 0}, Case{"faller", 100, 3}, Case{"faller", 140, 5},
                          Case{"faller", 160, 6}, Case{"feather", 400, 0}}) {
        SCOPED_TRACE(std::string(c.actor) + " " + std::to_string(c.distance));
        ActorObject& actor = spawn(c.actor, {300, 100});
        EXPECT_EQ(objects().applyFallDamage(actor, c.distance, {300, 100}), c.lost > 0.0f);
        EXPECT_FLOAT_EQ(20.0f - actor.hitPoints, c.lost);
        if (c.lost > 0.0f) {
            EXPECT_EQ(actor.lastDamageType, DamageType::Fall);
        }
    }

    // Landing on a lift is no fall.
    ActorObject& rider = spawn("faller", {600, 100});
    world().spawnActorFacingRight("lift", {600, 145});
    EXPECT_FALSE(objects().applyFallDamage(rider, 300, {600, 150}));
    EXPECT_EQ(rider.hitPoints, 20.0f);
}

} // namespace
} // namespace zor::test
