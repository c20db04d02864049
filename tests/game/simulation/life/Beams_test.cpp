// Beams carried by objects in the bare room: how far they reach past tiles and bodies, when
// they hurt, and when they leave with their carrier.

#include "tests/game/simulation/life/LifeFixture.h"

#include "game/simulation/rules/Beams.h"
#include "game/simulation/rules/ObjectLife.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/entity/Beam.h"

#include "game/definitions/BeamDefinition.h"
#include "game/world/physics/PhysicsSystem.h"

namespace zor::test {
namespace {

// Row 7 of the room (y 280 to 320) is empty up to the moss at column 6 (x 240) and 7.
constexpr float BeamY = 300.0f;

void loadBeamDefinitions() {
    static const bool loaded = [] {
        loadLifeDefinitions();
        addDefinitions(beamRegistry(), "beams", R"(
          <Beam><Name>fixed_ray</Name><UpdatePosition>false</UpdatePosition><UpdateLength>false</UpdateLength>
            <Range>600</Range><StopAgainst>tiles</StopAgainst></Beam>
          <Beam><Name>probing_ray</Name><Range>600</Range><StopAgainst>tiles</StopAgainst></Beam>
          <Beam><Name>body_ray</Name><Range>600</Range><StopAgainst>tiles;enemies;bounds</StopAgainst></Beam>
          <Beam><Name>still_ray</Name><Range>600</Range><CollideAgainst>enemies</CollideAgainst>
            <Damage Amount="0.1" KnockbackMultiplier="0"/><DamageInterval>0</DamageInterval></Beam>
          <Beam><Name>pulse_ray</Name><Range>600</Range><CollideAgainst>enemies</CollideAgainst>
            <Damage Amount="0.1" KnockbackMultiplier="0"/><DamageInterval>0.5</DamageInterval></Beam>
          <Beam><Name>gate_ray</Name><Range>600</Range><DisableUpgrade>gate_key</DisableUpgrade></Beam>
          <Beam><Name>solid_ray</Name><Range>600</Range><StopAgainst>tiles</StopAgainst><Physicalized>true</Physicalized>
            <DamageWidth>10</DamageWidth><CollideAgainst>player</CollideAgainst></Beam>
          <Beam><Name>fence_ray</Name><Range>600</Range><StopAgainst>tiles</StopAgainst><Physicalized>true</Physicalized>
            <DamageWidth>8</DamageWidth></Beam>)");
        addDefinitions(actorRegistry(), "beam carriers", R"(
          <Actor><Name>ray_post</Name><Template>crawler</Template></Actor>
          <Actor><Name>twin_turret</Name><Template>crawler</Template>
            <Beams><Beam Definition="probing_ray" Angle="0"/><Beam Definition="probing_ray" Angle="180"/></Beams></Actor>
          <Actor><Name>ray_gate</Name><Template>crawler</Template><SpecialType>barrier</SpecialType></Actor>)");
        return true;
    }();
    (void)loaded;
}

class BeamTest : public LifeTest {
protected:
    void SetUp() override {
        loadBeamDefinitions();
        startIn("fixture_deep");
    }

    ActorObject& carrier(const std::string& definition, const fpVector2& position) {
        return *world().spawnActorFacingRight(definition, position);
    }
    Beam& beamOf(ActorObject& carrier, const std::string& definition) {
        return createBeam(objects(), carrier, *findBeamDefinition(definition), 0.0f);
    }
    void update(GameObject& object, int steps = 1) {
        for (int i = 0; i < steps; ++i) rules.updateBeams(objects(), object, Step);
    }
    Beam* beam(std::int32_t id) {
        Entity* entity = world().findEntity(id);
        return entity && entity->type() == EntityType::Beam ? static_cast<Beam*>(entity) : nullptr;
    }

    ObjectLife rules;
};

TEST_F(BeamTest, AStaticBeamIsMeasuredOnceAndAnUpdatedOneFollowsTheDugTile) {
    struct Case {
        const char* definition;
        float lengthAfterDig;
    };
    const Case cases[] = {{"fixed_ray", 140.0f}, {"probing_ray", 180.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        startIn("fixture_deep");
        ActorObject& post = carrier("ray_post", {100.0f, BeamY});
        Beam& ray = beamOf(post, c.definition);
        update(post);
        EXPECT_FLOAT_EQ(ray.length, 140.0f);
        EXPECT_EQ(ray.getPosition(), fpVector2(100.0f, BeamY));
        *world().level->tileMap->cell(6, 7) = 0;
        update(post);
        EXPECT_FLOAT_EQ(ray.length, c.lengthAfterDig);
    }
}

TEST_F(BeamTest, ABodyStopsTheBeamOnePixelInsideAndTheLevelBoundsDoNot) {
    ActorObject& post = carrier("ray_post", {60.0f, BeamY});
    Beam& ray = beamOf(post, "body_ray");
    update(post);
    EXPECT_FLOAT_EQ(ray.length, 180.0f);  // the moss at x 240; its own body and the bounds ignored

    // The crawler's box is 24 px wide around its position: its left side is at x 148.
    carrier("crawler", {160.0f, 310.0f});
    update(post);
    EXPECT_FLOAT_EQ(ray.length, 148.0f - 60.0f + 1.0f);
}

TEST_F(BeamTest, DamageComesInTwoConsecutiveStepsThenOncePerIntervalAndNeverWithoutOne) {
    struct Case {
        const char* definition;
        std::vector<int> hitsAfterSteps;  // the victim's hits counted after 1, 2, 3, 30, 31 steps
    };
    const Case cases[] = {
        {"pulse_ray", {1, 2, 2, 2, 3}},
        {"still_ray", {0, 0, 0, 0, 0}},
    };
    const int checkpoints[] = {1, 2, 3, 30, 31};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        startIn("fixture_deep");
        ActorObject& post = carrier("ray_post", {60.0f, BeamY});
        ActorObject& victim = carrier("crawler", {160.0f, 310.0f});
        const float full = victim.hitPoints;
        beamOf(post, c.definition);
        int done = 0;
        for (std::size_t i = 0; i < std::size(checkpoints); ++i) {
            update(post, checkpoints[i] - done);
            done = checkpoints[i];
            EXPECT_EQ(int(std::lround((full - victim.hitPoints) / 0.1f)), c.hitsAfterSteps[i]) << "step " << done;
        }
    }
}

TEST_F(BeamTest, ABarrierMakesItsBeamAndLeavesOnceTheDisablingUpgradeIsOwned) {
    ActorObject& gate = carrier("ray_gate", {100.0f, BeamY});
    gate.name = "gate_ray";
    update(gate);
    ASSERT_EQ(gate.beamIds.size(), 1u);
    const std::int32_t beamId = gate.beamIds.front();
    update(gate);
    EXPECT_EQ(gate.beamIds, std::vector<std::int32_t>{beamId});  // one beam, not one per step
    EXPECT_TRUE(gate.alive());

    progress().items.counts["gate_key"] = 1;
    update(gate);
    EXPECT_FALSE(gate.alive());
    world().processRemovals();
    EXPECT_EQ(beam(beamId), nullptr);
}

TEST_F(BeamTest, ATurretMakesItsListedBeamsAndTheyLeaveWithIt) {
    ActorObject& turret = carrier("twin_turret", {300.0f, 200.0f});
    update(turret);
    ASSERT_EQ(turret.beamIds.size(), 2u);
    const std::vector<std::int32_t> ids = turret.beamIds;
    EXPECT_NEAR(beam(ids[0])->direction.x, 1.0f, 1e-5f);
    EXPECT_NEAR(beam(ids[1])->direction.x, -1.0f, 1e-5f);
    // Pending beams are not listed; from their second step on they are.
    EXPECT_TRUE(world().updatedBeams.empty());
    update(turret);
    EXPECT_EQ(world().updatedBeams, ids);

    world().removeEntity(&turret);
    world().processRemovals();
    for (const std::int32_t id : ids) EXPECT_EQ(beam(id), nullptr);
}

TEST_F(BeamTest, DisablingTheBeamsRemovesThem) {
    ActorObject& turret = carrier("twin_turret", {300.0f, 200.0f});
    update(turret);
    const std::vector<std::int32_t> ids = turret.beamIds;
    turret.beamsEnabled = false;
    update(turret);
    EXPECT_TRUE(turret.beamIds.empty());
    for (const std::int32_t id : ids) EXPECT_EQ(beam(id), nullptr);
}

TEST_F(BeamTest, APhysicalBeamKeepsItsOneBodyAndReshapesItAsItsLengthChanges) {
    ActorObject& post = carrier("ray_post", {100.0f, BeamY});
    Beam& ray = beamOf(post, "solid_ray");
    update(post);
    ASSERT_NE(ray.physicalObject, nullptr);
    const PhysicalObject* body = ray.physicalObject.get();
    // From the post to the moss at x 240, 10 px wide around the beam.
    EXPECT_EQ(body->getBounds(), fpRect(100.0f, BeamY - 5.0f, 140.0f, 10.0f));

    *world().level->tileMap->cell(6, 7) = 0;
    update(post);
    EXPECT_EQ(ray.physicalObject.get(), body) << "reshaped in place, not made anew";
    EXPECT_EQ(body->getBounds(), fpRect(100.0f, BeamY - 5.0f, 180.0f, 10.0f));
    // The broadphase lists it under its new bounds: the grown end is found.
    std::vector<PhysicalObject*> found;
    objects().physics()->queryRect(fpRect(270.0f, BeamY - 1.0f, 2.0f, 2.0f), CollisionGroup::Beams, found);
    EXPECT_EQ(found, std::vector<PhysicalObject*>{ray.physicalObject.get()});
}

TEST_F(BeamTest, ABarriersOwnBodyTakesTheBoxOfItsBeam) {
    ActorObject& gate = carrier("ray_gate", {100.0f, BeamY});
    gate.name = "fence_ray";
    update(gate);
    ASSERT_EQ(gate.beamIds.size(), 1u);
    ASSERT_NE(beam(gate.beamIds.front())->physicalObject, nullptr);
    EXPECT_EQ(gate.physicalObject.bodies().front().getBounds(), fpRect(100.0f, BeamY - 4.0f, 140.0f, 8.0f));
    std::vector<PhysicalObject*> found;
    objects().physics()->queryRect(fpRect(230.0f, BeamY - 1.0f, 2.0f, 2.0f), CollisionGroup::Enemies, found);
    EXPECT_EQ(found, std::vector<PhysicalObject*>{&gate.physicalObject}) << "it blocks to the beam's end";
}

TEST_F(BeamTest, AFadingBeamLeavesWhenItsTimeIsUpAndTheNextBeamIsStillUpdatedThatStep) {
    ActorObject& turret = carrier("twin_turret", {300.0f, 200.0f});
    update(turret);
    const std::vector<std::int32_t> ids = turret.beamIds;
    ASSERT_EQ(ids.size(), 2u);
    Beam& fading = *beam(ids[0]);
    fading.fading = true;
    fading.fadeTimer = 1.5f * Step;

    world().updatedBeams.clear();
    update(turret);
    EXPECT_EQ(turret.beamIds, ids) << "half a step of fading left";
    EXPECT_EQ(world().updatedBeams, ids);

    world().updatedBeams.clear();
    update(turret);
    EXPECT_EQ(turret.beamIds, std::vector<std::int32_t>{ids[1]});
    EXPECT_EQ(world().updatedBeams, std::vector<std::int32_t>{ids[1]}) << "the last id took its place";
    world().processRemovals();
    EXPECT_EQ(beam(ids[0]), nullptr);
    EXPECT_NE(beam(ids[1]), nullptr);
}

} // namespace
} // namespace zor::test
