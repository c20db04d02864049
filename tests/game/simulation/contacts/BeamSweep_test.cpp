// A blast set off inside a physics sweep: a thrown charge flies into a beam's sensor body and
// goes off from the contact callback, hurting, pushing, digging and spawning while the
// sweep that found the beam is still walking its contacts. Run it under the sanitizers.

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include "game/definitions/BeamDefinition.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/Projectile.h"
#include "game/world/level/Level.h"
#include "game/world/physics/PhysicsSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zor::test {
namespace {

void loadSweepDefinitions() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(projectileRegistry(), "sweep projectiles", R"(
          <Projectile><Name>bs_charge</Name><CollisionBox>-4;-4;8;8</CollisionBox>
            <CollisionGroup>projectiles</CollisionGroup><CollideAgainst>beams;tiles;bounds</CollideAgainst>
            <TimeFuze>5</TimeFuze><RadialDamage Amount="5" Tier="5" Radius="80"/>
            <Knockback Amount="300" Radius="120" StunTime="0.3"/>
            <DetonationEffect>puff</DetonationEffect><DetonationSpawn>crawler</DetonationSpawn></Projectile>)");
        addDefinitions(beamRegistry(), "sweep beams", R"(
          <Beam><Name>bs_curtain</Name><Range>200</Range><IsSensor>true</IsSensor>
            <Damage Amount="1"/><CollideAgainst>projectiles</CollideAgainst></Beam>)");
        return true;
    }();
    (void)loaded;
}

// A beam standing as a vertical curtain over `rect`, with the sensor body its update would
// give it.
Beam& curtain(World& world, PhysicsSystem& physics, const fpRect& rect) {
    auto* beam = new Beam(*findBeamDefinition("bs_curtain"));
    world.registerEntity(beam);
    beam->setPosition({rect.x, rect.y});
    beam->physicalObject = std::make_unique<PhysicalObject>();
    PhysicalBody body;
    body.group = CollisionGroup::Beams;
    body.mask = beam->definition->collideAgainst;
    body.sensor = true;
    body.shape = new RectShape(fpRect(0.0f, 0.0f, rect.w, rect.h), false);
    beam->physicalObject->ownerEntity = beam;
    beam->physicalObject->addBody(std::move(body));
    beam->physicalObject->setPosition(beam->getPosition());
    physics.placeObject(*beam->physicalObject);
    return *beam;
}

TEST(BeamSweep, AChargeThrownIntoABeamGoesOffInsideTheSweepAndTheStepEndsCleanly) {
    loadSweepDefinitions();
    HarnessOptions options(5, "fixture_mine");
    options.gameMovement = true;
    options.gameContacts = true;
    GameHarness harness(options);
    World& world = harness.world();
    GameObjectSimulator& objects = harness.objects();
    // The harness's hit rules only record a detonation: the blast itself is the game's.
    harness.seams().onDetonation = [&objects](Projectile& projectile) { objects.explodeProjectile(projectile); };
    harness.seams().playLifeRules = true;  // deaths in the blast run the game's own rules too

    curtain(world, *objects.physics(), fpRect(340.0f, 100.0f, 4.0f, 220.0f));
    ActorObject& near = *world.spawnActor("crawler", {380.0f, 200.0f}, {1.0f, 0.0f});
    const std::int32_t nearId = near.id();
    world.player()->setPosition({300.0f, 240.0f});
    const float playerHitPoints = world.player()->hitPoints;
    Projectile& charge = *world.spawnProjectile("bs_charge", {300.0f, 180.0f}, 0);
    const std::int32_t chargeId = charge.id();
    charge.physicalObject.velocity = {600.0f, 0.0f};
    const std::size_t crawlersBefore = [&] {
        std::size_t n = 0;
        for (const auto& [id, object] : world.gameObjects())
            n += object->gameObjectDefinition().name == "crawler" ? 1 : 0;
        return n;
    }();

    harness.runSteps(10);

    const std::vector<std::string>& calls = harness.seams().calls;
    const auto detonation = std::find(calls.begin(), calls.end(), "HitRules.detonateProjectile bs_charge");
    ASSERT_NE(detonation, calls.end());
    ASSERT_NE(detonation, calls.begin());
    EXPECT_EQ(*(detonation - 1), "HitRules.onContact") << "set off by the contact callback, inside the sweep";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "HitRules.detonateProjectile bs_charge"), 1);
    EXPECT_EQ(world.findGameObject(chargeId), nullptr) << "gone once the step's removals ran";
    EXPECT_LT(world.player()->hitPoints, playerHitPoints) << "the blast hurt the player";
    EXPECT_EQ(world.findGameObject(nearId), nullptr) << "the crawler in the blast died";
    std::size_t crawlers = 0;
    for (const auto& [id, object] : world.gameObjects())
        crawlers += object->gameObjectDefinition().name == "crawler" ? 1 : 0;
    EXPECT_EQ(crawlers, crawlersBefore) << "one crawler died, the blast spawned another";
    harness.runSteps(30);  // and the game goes on
}

} // namespace
} // namespace zor::test
