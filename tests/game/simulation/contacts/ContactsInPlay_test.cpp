// The movement rules that wait on contacts, in running games whose own contact rules answer
// the physics: wading into a pool and sliding down a wall.

#include "tests/game/simulation/movement/MovementFixture.h"

#include "game/world/level/Level.h"
#include "game/world/level/PatchLibraryTables.h"
#include "game/world/level/TileType.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zor::test {
namespace {

void loadPlayDefinitions() {
    static const bool loaded = [] {
        loadMovementFixture();
        addDefinitions(actorRegistry(), "contacts in play", R"(
          <Actor><Name>ci_basin</Name><SpecialType>pool</SpecialType><CollisionBox>-40;-40;80;40</CollisionBox>
            <CollisionGroup>pools</CollisionGroup><Water>7</Water><UpdatePhysics>false</UpdatePhysics></Actor>
          <Actor><Name>ci_wader</Name><Template>m_hopper</Template><CollideAgainst>pools;tiles;bounds</CollideAgainst></Actor>
          <Actor><Name>ci_clinger</Name><Template>m_slider</Template><Behavior>m_pace</Behavior></Actor>)");
        return true;
    }();
    (void)loaded;
}

std::unique_ptr<GameHarness> playGame(bool contacts) {
    loadPlayDefinitions();
    return movementGame(3, contacts);
}

TEST(ContactsInPlay, AnActorFallingIntoAPoolIsTakenInByItsContactAndSinksSlowly) {
    for (const bool contacts : {true, false}) {
        SCOPED_TRACE(contacts ? "the game's contacts" : "no contact rules");
        auto harness = playGame(contacts);
        World& world = harness->world();
        ActorObject& basin = *world.spawnActor("ci_basin", {500.0f, 320.0f}, {1.0f, 0.0f});
        ActorObject& wader = *world.spawnActor("ci_wader", {500.0f, 150.0f}, {1.0f, 0.0f});
        // The step whose contact takes the wader in still ends at its falling speed.
        float fastestInWater = 0.0f;
        bool wasIn = false;
        for (int step = 0; step < 90; ++step) {
            harness->runSteps(1);
            if (wasIn) fastestInWater = std::max(fastestInWater, wader.physicalObject.velocity.y);
            wasIn = wader.poolId != 0;
        }
        EXPECT_EQ(wader.poolId, contacts ? basin.id() : 0);
        EXPECT_EQ(wader.liquidState, contacts ? 1 : 0);
        EXPECT_LE(fastestInWater, 140.0f) << "the pool's speed limit";
        // A pool never blocks; without the contact rules it is a box to stand on.
        EXPECT_NEAR(wader.getPosition().y, contacts ? 320.0f : 280.0f, 1.0f);
    }
}

TEST(ContactsInPlay, AnActorPushingIntoAWallInTheAirSlidesDownItUnlessTheWallIsNoSlide) {
    for (const bool noSlide : {false, true}) {
        SCOPED_TRACE(noSlide ? "a no-slide wall" : "a bedrock wall");
        auto harness = playGame(true);
        Level& level = *harness->world().level;
        if (noSlide) {
            auto tables = std::make_shared<PatchLibraryTables>();
            tables->tileTypes = level.library->tileTypes;
            tables->tileTypes[3].flags |= TileType::NoWallSlide;  // the room's bedrock frame
            level.library = tables;
        }
        // In the air next to the room's right wall (x 760), walking into it.
        ActorObject& clinger = *harness->world().spawnActor("ci_clinger", {745.0f, 120.0f}, {1.0f, 0.0f});
        bool slid = false;
        for (int step = 0; step < 60; ++step) {
            harness->runSteps(1);
            slid = slid || clinger.slideSound != 0;
        }
        EXPECT_EQ(slid, !noSlide);
        EXPECT_NE(clinger.groundState, 0) << "down on the floor in the end";
    }
}

} // namespace
} // namespace zor::test
