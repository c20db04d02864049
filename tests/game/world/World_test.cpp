// The World: spawners, tables and lookups, deferred removal, camera requests, persistence
// queries and depth.

#include "game/world/World.h"
#include "game/world/entity/Destination.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/entity/WorldText.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/EffectDefinition.h"

#include "Framework/core/math/Randomizer.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zor {
namespace {

// What the World announced, in order: "+<id>" for added, "-<id>" for removed.
struct Announcements {
    explicit Announcements(World& world) {
        added = world.entityAdded.connect(this, [](Announcements* a, Entity* e) {
            a->events.push_back("+" + std::to_string(e->id()));
        });
        removed = world.entityRemoved.connect(this, [](Announcements* a, Entity* e) {
            a->events.push_back("-" + std::to_string(e->id()));
        });
    }
    std::vector<std::string> events;
    EventConnection added;
    EventConnection removed;
};

std::string plus(const Entity* e) { return "+" + std::to_string(e->id()); }
std::string minus(const Entity* e) { return "-" + std::to_string(e->id()); }

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override { test::loadFixtureDefinitions(); }

    std::vector<const ResourceObject*> resourcesNamed(const std::string& name) const {
        std::vector<const ResourceObject*> found;
        for (const auto& [id, object] : world.gameObjects())
            if (object->kind() == GameObjectKind::Resource && object->gameObjectDefinition().name == name)
                found.push_back(static_cast<const ResourceObject*>(object));
        return found;
    }

    test::LogCapture log;
    Randomizer random = Randomizer::fromSeed(7);
    World world{random};
};

TEST_F(WorldTest, SpawnersRegisterEachKindInItsTablesAndAnnounceIt) {
    Announcements announced(world);
    ActorObject* actor = world.spawnActor("crawler", {10, 20}, {-1, 0});
    Projectile* projectile = world.spawnProjectile("spores", {5, 5}, actor->id());
    ResourceObject* ore = world.spawnResource("ore", {1, 2}, -1);
    EffectObject* effect = world.spawnEffect("puff", {3, 4}, 0.5f, 1.0f);
    ShapeObject* shape = world.spawnShapeObject({0, 0, 40, 80});
    const PatchExit exitRecord;
    ExitObject* exit = world.spawnExit({0, 0, 20, 20}, exitRecord);
    TileDamage* damage = world.spawnTileDamage({40, 80});
    WorldText* text = world.spawnWorldText({7, 7}, "hello");
    Destination* destination = world.spawnDestination({9, 9});

    const std::vector<Entity*> all = {actor, projectile, ore, effect, shape, exit, damage, text, destination};
    std::vector<std::string> expected;
    for (Entity* e : all) {
        ASSERT_NE(e, nullptr);
        expected.push_back(plus(e));
        EXPECT_EQ(world.findEntity(e->id()), e);
    }
    EXPECT_EQ(announced.events, expected);
    EXPECT_EQ(world.entities().size(), all.size());
    EXPECT_EQ(world.gameObjects().size(), 3u);
    EXPECT_EQ(world.projectiles().size(), 1u);
    EXPECT_EQ(world.effects().size(), 1u);
    EXPECT_EQ(world.shapeObjects().size(), 1u);
    EXPECT_EQ(world.exits().size(), 1u);
    EXPECT_EQ(world.worldTexts().size(), 1u);
    EXPECT_EQ(world.destinations().size(), 1u);
    EXPECT_TRUE(world.lights().empty());

    EXPECT_EQ(world.findGameObject(projectile->id()), projectile);
    EXPECT_EQ(world.findGameObject(text->id()), nullptr);
    EXPECT_EQ(world.findLight(effect->id()), nullptr);
    EXPECT_EQ(world.findEntity(-5), nullptr);
    EXPECT_EQ(actor->getPosition(), fpVector2(10, 20));
    EXPECT_EQ(actor->facing, fpVector2(-1, 0));
    EXPECT_EQ(projectile->ownerId, actor->id());
    EXPECT_EQ(projectile->fuzeTime, 3.0f);
    EXPECT_EQ(text->text, "hello");
    EXPECT_EQ(effect->rotation, 0.5f);
    EXPECT_EQ(damage->getPosition(), fpVector2(40, 80));
}

TEST_F(WorldTest, ShapesAndExitsCarryTheirRectangleAsABody) {
    ShapeObject* shape = world.spawnShapeObject({100, 200, 40, 80});
    EXPECT_EQ(shape->getPosition(), fpVector2(0, 0));
    EXPECT_EQ(shape->physicalObject.getBounds(), fpRect(100, 200, 40, 80));
    ASSERT_EQ(shape->physicalObject.bodies().size(), 1u);
    EXPECT_EQ(shape->physicalObject.bodies()[0].group, CollisionGroup::Trigger);
    EXPECT_EQ(shape->shapeKind, 1);

    const PatchExit record;
    ExitObject* exit = world.spawnExit({100, 200, 40, 80}, record);
    EXPECT_EQ(exit->getPosition(), fpVector2(120, 240));
    EXPECT_EQ(exit->physicalObject.getBounds(), fpRect(100, 200, 40, 80));
    EXPECT_EQ(exit->physicalObject.bodies()[0].group, CollisionGroup::Exits);
    EXPECT_EQ(exit->link, &record);
}

TEST_F(WorldTest, ThePlayerHasItsDefinitionsVitalsAndASensorBody) {
    ActorObject* player = world.spawnPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(world.player(), player);
    EXPECT_EQ(player->hitPoints, 10.0f);
    EXPECT_EQ(player->water, 5.0f);
    EXPECT_EQ(player->lightTime, 120.0f);
    const auto& bodies = player->physicalObject.bodies();
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[0].group, CollisionGroup::Player);
    EXPECT_FALSE(bodies[0].sensor);
    EXPECT_EQ(bodies[1].group, 0u);
    EXPECT_EQ(bodies[1].mask, 0xA2u);
    EXPECT_TRUE(bodies[1].sensor);
    player->setPosition({100, 200});
    EXPECT_EQ(bodies[1].getBounds(), fpRect(90, 166, 20, 34));
    EXPECT_EQ(player->center(), fpVector2(100, 183));
}

TEST_F(WorldTest, RemovingAnEffectTakesItsLightInTheSamePass) {
    Announcements announced(world);
    EffectObject* effect = world.spawnEffect("glow_burst", {50, 60}, 0, 1);
    ASSERT_NE(effect->lightId, 0);
    LightObject* light = world.findLight(effect->lightId);
    ASSERT_NE(light, nullptr);
    // The light is announced before its effect.
    EXPECT_EQ(announced.events, (std::vector<std::string>{plus(light), plus(effect)}));
    announced.events.clear();
    world.removeEntity(effect);
    world.removeEntity(effect);  // a second request is harmless
    EXPECT_EQ(world.findEntity(effect->id()), nullptr);  // gone for finds before the pass
    const std::string effectGone = minus(effect), lightGone = minus(light);
    world.processRemovals();
    EXPECT_EQ(announced.events, (std::vector<std::string>{effectGone, lightGone}));
    EXPECT_TRUE(world.entities().empty());
    EXPECT_TRUE(world.lights().empty());
    EXPECT_TRUE(world.effects().empty());
}

TEST_F(WorldTest, RemovalsRequestedWhileRemovingAreProcessedInTheSameCall) {
    ActorObject* first = world.spawnActorFacingRight("crawler", {0, 0});
    ActorObject* second = world.spawnActorFacingRight("crawler", {0, 0});
    const std::int32_t secondId = second->id();
    EventConnection chain = world.entityRemoved.connect(&world, [secondId](World* w, Entity* e) {
        if (e->id() != secondId) w->removeEntityById(secondId);
    });
    world.removeEntity(first);
    world.processRemovals();
    EXPECT_TRUE(world.entities().empty());
    EXPECT_TRUE(world.gameObjects().empty());
}

TEST_F(WorldTest, RemovingThePlayerClearsItAndRemovingAllResetsTheTint) {
    world.spawnPlayer();
    world.spawnProjectile("spores", {0, 0}, 0);
    world.tintColor = PackedColor(0x80FF0000);
    Announcements announced(world);
    world.removeAllEntities();
    EXPECT_EQ(world.player(), nullptr);
    EXPECT_TRUE(world.entities().empty());
    EXPECT_TRUE(world.projectiles().empty());
    EXPECT_EQ(announced.events.size(), 2u);
    EXPECT_EQ(world.tintColor, World::DefaultTintColor);
}

TEST_F(WorldTest, DestroyingTheWorldAnnouncesEveryRemoval) {
    auto doomed = std::make_unique<World>(random);
    doomed->spawnResource("ore", {0, 0}, -1);
    doomed->spawnWorldText({0, 0}, "bye");
    Announcements announced(*doomed);
    doomed.reset();
    EXPECT_EQ(announced.events.size(), 2u);
}

TEST_F(WorldTest, UnknownNamesAndRefillsWithoutAPlayerSpawnNothingAndAreReportedOnce) {
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(world.spawnActor("no_such_actor", {0, 0}, {1, 0}), nullptr);
        EXPECT_EQ(world.spawnResource("no_such_resource", {0, 0}, -1), nullptr);
        EXPECT_EQ(world.spawnProjectile("no_such_projectile", {0, 0}, 0), nullptr);
        EXPECT_EQ(world.spawnEffect("no_such_effect", {0, 0}, 0, 1), nullptr);
        EXPECT_EQ(world.spawnResource("supply_crate", {0, 0}, -1), nullptr);
    }
    EXPECT_TRUE(world.entities().empty());
    EXPECT_TRUE(log.errors.empty());
    std::vector<std::string> reports;
    for (const std::string& line : log.lines)
        if (line.find("Nothing spawned") != std::string::npos) reports.push_back(line);
    EXPECT_EQ(reports.size(), 5u);
    EXPECT_NE(std::find(reports.begin(), reports.end(),
                        "Nothing spawned: the refill 'supply_crate' needs a player\n"),
              reports.end());
    EXPECT_NE(std::find(reports.begin(), reports.end(),
                        "Nothing spawned: no actor definition 'no_such_actor'\n"),
              reports.end());
}

// The names a refill turns into over many draws, and where they land.
std::set<std::string> refillChoices(World& world, const fpVector2& at, std::set<float>& heights) {
    std::set<std::string> names;
    for (int i = 0; i < 60; ++i) {
        ResourceObject* refill = world.spawnResource("supply_crate", at, -1);
        if (!refill) continue;
        names.insert(refill->definition().name);
        heights.insert(refill->getPosition().y);
        world.removeEntity(refill);
    }
    world.processRemovals();
    return names;
}

TEST_F(WorldTest, ARefillBecomesOneOfTheRefillsInTheMiddleOfItsTileRow) {
    world.spawnPlayer();
    std::set<float> heights;
    EXPECT_EQ(refillChoices(world, {33, 95}, heights),
              (std::set<std::string>{"refill_health", "refill_water", "refill_light"}));
    EXPECT_EQ(heights, (std::set<float>{100.0f}));

    // A player who carries no water gets no water refills.
    ActorDefinition& player = actorRegistry().get("player");
    const float water = player.waterCapacity;
    player.waterCapacity = 0.0f;
    heights.clear();
    const std::set<std::string> dry = refillChoices(world, {33, 41}, heights);
    player.waterCapacity = water;
    EXPECT_EQ(dry, (std::set<std::string>{"refill_health", "refill_light"}));
    EXPECT_EQ(heights, (std::set<float>{60.0f}));
}

TEST_F(WorldTest, AnOrbClusterFlingsTwoToFourOrbs) {
    // Every draw comes from the World's own generator.
    const std::uint32_t w = random.w(), z = random.z();
    std::set<std::size_t> counts;
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(world.spawnResource("orb_cluster", {200, 300}, 5.0f), nullptr);
        const auto orbs = resourcesNamed("orb");
        counts.insert(orbs.size());
        for (const ResourceObject* orb : orbs) {
            const float speed = orb->physicalObject.velocity.length();
            EXPECT_GE(speed, 149.99f);
            EXPECT_LE(speed, 300.01f);
            EXPECT_EQ(orb->getPosition(), fpVector2(200, 300));
            EXPECT_EQ(orb->remainingLifeTime, 5.0f);
        }
        world.removeAllEntities();
    }
    EXPECT_EQ(counts, (std::set<std::size_t>{2, 3, 4}));
    EXPECT_TRUE(random.w() != w || random.z() != z);
}

TEST_F(WorldTest, ResourcesThatSpawnSomethingElse) {
    // A projectile first, then the resource itself.
    ResourceObject* cache = world.spawnResource("spore_cache", {10, 10}, -1);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(world.projectiles().size(), 1u);
    EXPECT_LT(world.projectiles().begin()->first, cache->id());
    // An actor instead of the resource.
    EXPECT_EQ(world.spawnResource("crawler_egg", {30, 10}, -1), nullptr);
    ASSERT_EQ(world.gameObjects().size(), 3u);
    const GameObject* crawler = world.gameObjects().rbegin()->second;
    EXPECT_EQ(crawler->gameObjectDefinition().name, "crawler");
    EXPECT_EQ(crawler->facing, fpVector2(1, 0));
    // Life times: the definition's for -1, else the one given.
    EXPECT_EQ(world.spawnResource("orb", {0, 0}, -1)->remainingLifeTime, 12.0f);
    EXPECT_EQ(world.spawnResource("orb", {0, 0}, 0)->remainingLifeTime, 0.0f);
}

TEST_F(WorldTest, EffectScaleAndItsLight) {
    const struct {
        const char* effect;
        float scale;
        float expected;
    } cases[] = {{"puff", 1.0f, 1.0f}, {"puff", 3.0f, 3.0f}, {"glow_burst", 1.0f, 2.0f}, {"glow_burst", 0.5f, 1.0f}};
    for (const auto& c : cases) {
        EffectObject* effect = world.spawnEffect(c.effect, {0, 0}, 0, c.scale);
        EXPECT_EQ(effect->scaleX, c.expected) << c.effect << " " << c.scale;
        EXPECT_EQ(effect->scaleY, c.expected) << c.effect << " " << c.scale;
    }
    const EffectObject* burst = world.spawnEffect("glow_burst", {500, 500}, 0, 1);
    const LightObject* light = world.findLight(burst->lightId);
    ASSERT_NE(light, nullptr);
    // The light starts at its offset; the simulation moves it along with its effect.
    EXPECT_EQ(light->getPosition(), fpVector2(0, -4));
    EXPECT_EQ(light->sprite, "Sprites/lights;soft_round");
    EXPECT_EQ(light->scale, 1.5f);
    EXPECT_EQ(light->strength, 0.7f);
    EXPECT_EQ(light->color, Color3(1.0f, 0.8f, 0.4f));
}

TEST_F(WorldTest, CameraShakeRules) {
    struct Step {
        float duration;
        float remainingBefore;
        bool applies;
    } steps[] = {
        {2.0f, 0.0f, true},   // no shake running
        {1.0f, 2.0f, false},  // 2 s left of a running shake: a shorter one waits
        {2.0f, 2.0f, false},  // as long as what is left: still ignored
        {3.0f, 2.0f, true},   // longer: replaces it
        {0.0f, 3.0f, true},   // zero stops any shake
    };
    for (const Step& s : steps) {
        world.shake.remaining = s.remainingBefore;
        world.shake.amplitude = 1.0f;
        world.shakeCamera(7.0f, s.duration, 2);
        EXPECT_EQ(world.shake.amplitude == 7.0f, s.applies) << s.duration << " with " << s.remainingBefore;
        if (s.applies) {
            EXPECT_EQ(world.shake.remaining, s.duration);
            EXPECT_EQ(world.shake.duration, s.duration);
            EXPECT_EQ(world.shake.curve, 2);
        }
    }
    world.pan.progress = 0.7f;
    world.panCamera({400, 0}, 200, 1.5f, 3);
    EXPECT_EQ(world.pan.progress, 0.0f);
    EXPECT_EQ(world.pan.target, fpVector2(400, 0));
    EXPECT_EQ(world.pan.curve, 3);
}

TEST_F(WorldTest, PersistentEntitiesAreSortedByIdWithoutProjectilesOrEarthBoundActors) {
    world.level = std::make_shared<Level>("fixture_mine");
    world.level->resetEarth = true;
    ResourceObject* gem = world.spawnResource("gem", {0, 0}, -1);
    world.spawnResource("ore", {0, 0}, -1);
    world.spawnActorFacingRight("keeper", {0, 0});
    ActorObject* guard = world.spawnActorFacingRight("stone_guard", {0, 0});
    world.spawnActorFacingRight("crawler", {0, 0});
    world.spawnProjectile("spores", {0, 0}, 0);
    ActorObject* player = world.spawnPlayer();
    ResourceObject* queued = world.spawnResource("gem", {0, 0}, -1);
    world.removeEntity(queued);

    std::vector<Entity*> list;
    world.collectPersistentEntities(list);
    EXPECT_EQ(list, (std::vector<Entity*>{gem, guard, player}));

    world.level->resetEarth = false;
    list.clear();
    world.collectPersistentEntities(list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1]->id(), gem->id() + 2);  // the keeper stays with the earth
}

TEST_F(WorldTest, PlayerDepthTruncatesTowardZero) {
    EXPECT_FALSE([&] {
        std::int32_t depth = 0;
        return world.getPlayerDepth(depth);
    }());
    ActorObject* player = world.spawnPlayer();
    world.level = std::make_shared<Level>("fixture_mine");
    const struct {
        float y;
        std::int32_t startDepth;
        bool cave;
        bool surface;
        bool known;
        std::int32_t depth;
    } cases[] = {
        {-10, 0, false, false, true, 0},  {85, 3, false, false, true, 5},  {-50, 0, false, false, true, -1},
        {400, 0, true, false, false, 0}, {400, 0, false, true, false, 0},
    };
    for (const auto& c : cases) {
        player->setPosition({0, c.y});
        world.level->startDepth = c.startDepth;
        world.level->isCave = c.cave;
        world.level->atSurface = c.surface;
        std::int32_t depth = 99;
        EXPECT_EQ(world.getPlayerDepth(depth), c.known) << c.y;
        if (c.known) {
            EXPECT_EQ(depth, c.depth) << c.y;
        }
    }
}

TEST_F(WorldTest, ReturnPointsAreNotKeptInTheTown) {
    const TileDamage* marker = world.spawnTileDamage({80, 120});
    world.level = std::make_shared<Level>(Level::TownName);
    world.storeReturnPoint(*marker);
    EXPECT_TRUE(world.progress.returnLevel.empty());
    world.level = std::make_shared<Level>("fixture_mine");
    world.storeReturnPoint(*marker);
    EXPECT_EQ(world.progress.returnLevel, "fixture_mine");
    EXPECT_EQ(world.progress.returnPosition, fpVector2(80, 120));
    world.clearReturnPoint();
    EXPECT_TRUE(world.progress.returnLevel.empty());
    EXPECT_EQ(world.progress.returnPosition, fpVector2());
}

TEST_F(WorldTest, SetUpTurnsTheCollisionBoxWithTheFacingOfObjectsThatRotate) {
    const struct {
        fpVector2 facing;
        fpRect bounds;  // at the origin
        fpVector2 facingAfter;
    } cases[] = {
        {{1, 0}, {-10, -4, 30, 8}, {1, 0}},
        {{0, 1}, {-4, -10, 8, 30}, {0, 1}},
        {{0.0005f, 1}, {-4, -10, 8, 30}, {0, 1}},
        {{-1, 0}, {-20, -4, 30, 8}, {-1, 0}},
    };
    for (const auto& c : cases) {
        ActorObject* turner = world.spawnActor("turner", {0, 0}, c.facing);
        EXPECT_EQ(turner->facing, c.facingAfter) << c.facing;
        EXPECT_EQ(turner->physicalObject.getBounds(), c.bounds) << c.facing;
    }
    // An object that does not rotate keeps its box.
    ActorObject* crawler = world.spawnActor("crawler", {100, 0}, {0, 1});
    EXPECT_EQ(crawler->physicalObject.getBounds(), fpRect(88, -16, 24, 16));
    EXPECT_EQ(crawler->physicalObject.wakeMask, 0x1722Eu);
}

} // namespace
} // namespace zor
