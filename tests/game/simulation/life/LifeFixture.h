#pragma once
// A harness game in the bare room (the player stands at (120, 320)) playing the game's own
// death and resource rules, with this program's definitions next to the fixture's:
//   resources: "loot_bag" (plain, persistent, no life time), "nugget" (Value 3, stacks of
//     5, drops on death), "keepsake" (Value 10, stays on death), "lodestone" (Value 4, pulled
//     from Distance 10000 at Speed 100), "ember" (Value 2 and ValueOrb 1), "moss_tuft"
//     (GiveHitPoints 1, PickupIcon), "water_skin" (GiveWater 1), "oil_flask"
//     (GiveLightFraction 0.5), "lantern_token" (GiveUpgrade "lantern"), "fading_spark"
//     (LifeTime 0.5), "shiny" (pickup sound, effect "puff");
//   actors: "brute" (drops "ore", good loot "gem", end effect "puff" at (6, -4), end sound
//     "brute_end", projectile "spores" on death, wakes its neighbours), "gambler" (good
//     loot chance 1), "listener" (hears from 10 to 20), "alert" (hears above 5),
//     "deaf" (no threshold), "dynamo" (a generator), "gate" (a teleporter),
//     "enemy_turtle".
// Counters are made in the program's achievement store as the tests ask.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ResourceObject.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ResourceDefinition.h"

#include "Framework/store/AchievementStore.h"

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor::test {

inline void loadLifeDefinitions() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(resourceRegistry(), "life resources", R"(
          <Resource><Name>loot_bag</Name><CollisionBox>-8;-8;16;16</CollisionBox>
            <CollisionGroup>items</CollisionGroup><Persistent>true</Persistent></Resource>
          <Resource><Name>nugget</Name><Template>ore</Template><Value>3</Value>
            <MaxCountPerStack>5</MaxCountPerStack><DropOnDeath>true</DropOnDeath></Resource>
          <Resource><Name>keepsake</Name><Template>ore</Template><Value>10</Value></Resource>
          <Resource><Name>lodestone</Name><Template>ore</Template>
            <PlayerAttraction Distance="10000" Speed="100"/></Resource>
          <Resource><Name>ember</Name><Template>ore</Template><Value>2</Value><ValueOrb>1</ValueOrb>
            <PickupUIEffect>sparkle</PickupUIEffect></Resource>
          <Resource><Name>moss_tuft</Name><Template>refill_health</Template><GiveHitPoints>1</GiveHitPoints>
            <PickupIcon>icon_heart</PickupIcon></Resource>
          <Resource><Name>water_skin</Name><Template>refill_health</Template><GiveHitPoints>0</GiveHitPoints>
            <GiveWater>1</GiveWater></Resource>
          <Resource><Name>oil_flask</Name><Template>refill_health</Template><GiveHitPoints>0</GiveHitPoints>
            <GiveLightFraction>0.5</GiveLightFraction></Resource>
          <Resource><Name>lantern_token</Name><Template>refill_health</Template><GiveHitPoints>0</GiveHitPoints>
            <GiveUpgrade>lantern</GiveUpgrade></Resource>
          <Resource><Name>fading_spark</Name><Template>ore</Template><LifeTime>0.5</LifeTime></Resource>
          <Resource><Name>shiny</Name><Template>ore</Template><PickupSound>chime</PickupSound>
            <PickupEffect>puff</PickupEffect></Resource>)");
        registerResourceInventoryItems();
        addDefinitions(actorRegistry(), "life actors", R"(
          <Actor><Name>brute</Name><Template>crawler</Template>
            <Drop Resource="ore" GoodResource="gem"/>
            <EndEffect>puff</EndEffect><EndEffectOffset>6;-4</EndEffectOffset><EndSound>brute_end</EndSound>
            <ProjectileOnDeath>spores</ProjectileOnDeath><WakeNeighboursOnDeath>true</WakeNeighboursOnDeath></Actor>
          <Actor><Name>gambler</Name><Template>crawler</Template>
            <Drop Resource="ore" GoodResource="gem" GoodResourceChance="1"/></Actor>
          <Actor><Name>listener</Name><Template>crawler</Template><NoiseThreshold Low="10" High="20"/></Actor>
          <Actor><Name>alert</Name><Template>crawler</Template><NoiseThreshold Low="5" High="5"/></Actor>
          <Actor><Name>deaf</Name><Template>crawler</Template></Actor>
          <Actor><Name>dynamo</Name><Template>crawler</Template><SpecialType>generator</SpecialType></Actor>
          <Actor><Name>gate</Name><Template>crawler</Template><SpecialType>teleporter</SpecialType></Actor>
          <Actor><Name>enemy_turtle</Name><Template>crawler</Template></Actor>)");
        return true;
    }();
    (void)loaded;
}

class LifeTest : public ::testing::Test {
protected:
    static constexpr float Step = GameHarness::StepLength;

    LifeTest() { loadLifeDefinitions(); }

    // A new game in `level`, playing the real rules, with an empty inventory.
    void startIn(const std::string& level, bool withSession = false) {
        HarnessOptions options(1, level);
        options.withSession = withSession;
        harness = std::make_unique<GameHarness>(options);
        harness->seams().playLifeRules = true;
        world().progress.inventory.slots.clear();
        world().progress.inventory.capacity = 4;
    }

    World& world() { return harness->world(); }
    GameObjectSimulator& objects() { return harness->objects(); }
    ActorObject& player() { return *world().player(); }
    PlayerProgress& progress() { return world().progress; }

    std::vector<std::string> uiCalls(const std::string& name) {
        return harness->recordings().callsStartingWith("UserInterface." + name);
    }

    // Live resources of the definition.
    std::vector<ResourceObject*> resources(const std::string& name) {
        std::vector<ResourceObject*> found;
        for (const auto& [id, object] : world().gameObjects())
            if (object->alive() && object->kind() == GameObjectKind::Resource &&
                object->gameObjectDefinition().name == name)
                found.push_back(static_cast<ResourceObject*>(object));
        return found;
    }

    // A counter of the program's store, made afresh at 0 (adding mode).
    static void makeCounters(const std::vector<std::string>& names) {
        AchievementFile file;
        for (const std::string& name : names) file.counters.push_back({name, 0, false});
        localAchievements().define(file);
    }
    static std::int32_t counter(const std::string& name) {
        const AchievementCounter* found = localAchievements().findCounter(name);
        return found ? found->value : -1;
    }

    std::unique_ptr<GameHarness> harness;
};

} // namespace zor::test
