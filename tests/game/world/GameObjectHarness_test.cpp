// Game objects in a running game: the player the World spawns, in a level's physics.

#include "game/simulation/Game.h"
#include "game/world/World.h"
#include "game/world/physics/PhysicsSystem.h"
#include "game/world/physics/ShapePairTests.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;

TEST(GameObjectsInAGame, ThePlayersSensorBodyIsNeverListedButFeelsItsOwnMoves) {
    installShapePairTests();
    test::LogCapture log;
    GameHarness harness;
    World& world = harness.world();
    world.level->tileMap = std::make_shared<PersistentTileMap>(20, 20);
    PhysicsSystem physics(fpRect(0, 0, 800, 1300));
    std::vector<const PhysicalBody*> touching;
    // As the game's contact rules do for enemies, nothing stops the player here.
    physics.contactCallback = [&](PhysicalCollision& contact) {
        if (contact.sensor) touching.push_back(contact.body);
        contact.passThrough = true;
    };

    ActorObject* player = world.spawnPlayer();
    ASSERT_NE(player, nullptr);
    const std::vector<PhysicalBody>& bodies = player->physicalObject.bodies();
    ASSERT_EQ(bodies.size(), 2u);
    ActorObject* crawler = world.spawnActorFacingRight("crawler", {200, 300});
    player->setPosition({100, 300});
    physics.placeObject(player->physicalObject);
    physics.placeObject(crawler->physicalObject);

    EXPECT_FALSE(bodies[0].cellRange().isZero());
    EXPECT_TRUE(bodies[1].cellRange().isZero());
    std::vector<CellObject*> listed;
    physics.cellSystem()->query(listed, player->physicalObject.getBounds(), 0xFFFFFFFFu);
    EXPECT_EQ(listed, std::vector<CellObject*>{const_cast<PhysicalBody*>(&bodies[0])});

    // Walking into the crawler: the sensor body reports it during the player's own move.
    EXPECT_TRUE(physics.moveObjectTo(player->physicalObject, {190, 300}, false, nullptr, false));
    ASSERT_FALSE(touching.empty());
    for (const PhysicalBody* body : touching) EXPECT_EQ(body, &bodies[1]);
    EXPECT_EQ(player->getPosition(), fpVector2(190, 300));

    physics.removeObject(player->physicalObject);
    EXPECT_TRUE(bodies[0].cellRange().isZero());
    EXPECT_TRUE(log.warnings.empty());
}

TEST(GameObjectsInAGame, SetUpDrawsFromTheGamesGenerator) {
    GameHarness harness;
    const Randomizer before = harness.game().random();
    const ActorObject* player = harness.world().spawnPlayer();
    Randomizer expected = before;
    EXPECT_EQ(player->edgeTimer, 0.1f + 0.1f * expected.nextFloat());
    EXPECT_EQ(player->meetTimer, 0.1f + 0.4f * expected.nextFloat());

    // The same seed sets the same game up.
    const auto play = [](GameHarness& game) {
        game.world().spawnPlayer();
        game.world().spawnActorFacingRight("crawler", {40, 80});
        game.runSteps(3);
        return game.stateHash();
    };
    GameHarness first;
    const std::uint64_t hash = play(first);
    GameHarness second;
    EXPECT_EQ(play(second), hash);
    GameHarness otherSeed({8, "fixture_mine"});
    EXPECT_NE(play(otherSeed), hash);
}

} // namespace
} // namespace zor
