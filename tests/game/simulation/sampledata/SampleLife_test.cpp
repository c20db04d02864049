// The sample data's resources and the player's death in "mine1": what the shipped data
// asks of the pickup and death rules.

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ResourceObject.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

std::unique_ptr<GameHarness> sampleGamePlayingLife() {
    HarnessOptions options(1, "mine1");
    options.sampleData = true;
    auto harness = std::make_unique<GameHarness>(options);
    harness->seams().playLifeRules = true;
    return harness;
}

// The attraction distances are squared pixels: copper ore reaches 40 px, wisp orbs 120 px.
TEST(SampleLife, ResourcesArePulledFromTheirShippedReach) {
    struct Case {
        const char* resource;
        float distance;
        bool pulled;
    };
    std::unique_ptr<GameHarness> harness = sampleGamePlayingLife();
    World& world = harness->world();
    const fpVector2 at = world.player()->getPosition();
    for (const Case& c : {Case{"copper_ore", 39, true}, Case{"copper_ore", 41, false}, Case{"wisp_orb", 119, true},
                          Case{"wisp_orb", 121, false}}) {
        SCOPED_TRACE(std::string(c.resource) + " " + std::to_string(c.distance));
        ResourceObject* resource = world.spawnResource(c.resource, at + fpVector2(0, -c.distance), -1);
        ASSERT_NE(resource, nullptr);
        resource->physicalObject.impulse = fpVector2();
        harness->objects().forceUpdate(*resource);
        harness->runSteps(1);
        EXPECT_EQ(resource->physicalObject.impulse.y > 0.0f, c.pulled);
        world.removeEntity(resource);
    }
}

TEST(SampleLife, ADeathInTheMineLeavesALastingBagOfTheOre) {
    std::unique_ptr<GameHarness> harness = sampleGamePlayingLife();
    World& world = harness->world();
    world.progress.inventory.slots.clear();
    world.progress.inventory.add("copper_ore", 3);
    harness->objects().killActor(*world.player());
    ResourceObject* bag = nullptr;
    for (const auto& [id, object] : world.gameObjects())
        if (object->alive() && object->gameObjectDefinition().name == "loot_bag")
            bag = static_cast<ResourceObject*>(object);
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(bag->contents.countOf("copper_ore"), 3);
    EXPECT_EQ(world.progress.inventory.countOf("copper_ore"), 0);
    EXPECT_LE(bag->remainingLifeTime, 0.0f);
    EXPECT_TRUE(bag->definition().persistent);
}

} // namespace
} // namespace zor
