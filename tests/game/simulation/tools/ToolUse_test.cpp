// The player's tools in harness games with the game's own movement: what each building
// needs, what a refusal costs (nothing), the dynamite's throw, choosing a tool, and the
// rest of the player step (push-back, speed history, water warning, message cooldown).

#include "tests/game/simulation/movement/MovementFixture.h"

#include "game/definitions/MaxCountDefinition.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/simulation/movement/ActorMovement.h"
#include "game/simulation/tools/ToolUse.h"
#include "game/world/entity/Projectile.h"
#include "game/world/entity/WorldText.h"
#include "game/world/progress/ItemCountMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace zor::test {
namespace {

// Buildings as the game names them; "buildings" holds at most three.
const char* const Buildings = R"(
  <Actor>
    <Name>lamp</Name>
    <CollisionBox>-8;-32;16;32</CollisionBox>
    <CollisionGroup>lamps</CollisionGroup>
    <CollisionSensor>true</CollisionSensor>
    <UpdatePhysics>false</UpdatePhysics>
    <MaxCountGroup>buildings</MaxCountGroup>
    <RejectSameTypeRadius>100</RejectSameTypeRadius>
  </Actor>
  <Actor>
    <Name>ladder</Name>
    <SpecialType>ladder</SpecialType>
    <CollisionBox>-10;-120;20;120</CollisionBox>
    <CollisionGroup>ladders</CollisionGroup>
    <CollisionSensor>true</CollisionSensor>
    <UpdatePhysics>false</UpdatePhysics>
    <MaxCountGroup>buildings</MaxCountGroup>
  </Actor>
  <Actor>
    <Name>jump_plate</Name>
    <CollisionBox>-16;-6;32;6</CollisionBox>
    <CollisionGroup>support</CollisionGroup>
    <PlatformCollision>true</PlatformCollision>
    <UpdatePhysics>false</UpdatePhysics>
    <MaxCountGroup>buildings</MaxCountGroup>
  </Actor>
  <Actor>
    <Name>teleporter</Name>
    <CollisionBox>-14;-40;28;40</CollisionBox>
    <CollisionGroup>transport</CollisionGroup>
    <CollisionSensor>true</CollisionSensor>
    <UpdatePhysics>false</UpdatePhysics>
    <MaxCountGroup>buildings</MaxCountGroup>
  </Actor>)";

const char* const Dynamite = R"(
  <Projectile>
    <Name>dynamite</Name>
    <CollisionBox>-4;-4;8;8</CollisionBox>
    <CollisionGroup>projectiles</CollisionGroup>
    <CollideAgainst>tiles;bounds</CollideAgainst>
  </Projectile>)";

enum Tool : std::int32_t { Lamp, Ladder, JumpPlate, Teleporter, Throw, Unknown };

ActorDefinition::Tool tool(const std::string& item, bool building, const std::string& required = "") {
    ActorDefinition::Tool made;
    made.name = item;
    made.countedUpgrade = item;
    made.requiredUpgrade = required;
    made.useSound = "use_" + item;
    made.isBuilding = building;
    return made;
}

void loadToolFixture() {
    static const bool loaded = [] {
        SettingsHandler& settings = (declareMovementSettings(), SettingsHandler::instance());
        if (settings.settings().count("Game.PushBackSpeed") == 0)
            settings.declare("Game.PushBackSpeed", "", 300.0f, SettingPersistent, SettingInternal);
        loadMovementFixture();
        addDefinitions(actorRegistry(), "tool actors", Buildings);
        addDefinitions(projectileRegistry(), "tool projectiles", Dynamite);
        addDefinitions(maxCountRegistry(), "tool groups", R"(<Group Name="buildings" MaxCount="3"/>)");
        return true;
    }();
    (void)loaded;
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override { start("fixture_mine"); }

    // A game whose player walks, carries the five tools (the teleporter needs its upgrade)
    // and one that names no building, and stands settled at `position`, with three of every
    // item.
    void start(const std::string& level, const fpVector2& position = {120.0f, 320.0f}) {
        loadToolFixture();
        HarnessOptions options(3, level);
        options.gameMovement = true;
        harness = std::make_unique<GameHarness>(options);
        auto definition = std::make_shared<ActorDefinition>(player().definition());
        definition->checkOnGround = true;
        definition->walkSpeed = 110.0f;
        definition->tools = {tool("lamp", true),        tool("ladder", true),  tool("jump_plate", true),
                             tool("teleporter", true, "teleporter_licence"), tool("dynamite", false),
                             tool("bellows", true)};
        player().installDefinition(definition);
        for (const char* item : {"lamp", "ladder", "jump_plate", "teleporter", "dynamite", "bellows"})
            items().counts[item] = 3;
        items().counts["teleporter_licence"] = 1;
        player().setPosition(position);
        harness->runSteps(10);
    }

    ActorObject& player() { return *harness->world().player(); }
    ItemCountMap& items() { return harness->world().progress.items; }
    GameObjectSimulator& objects() { return harness->objects(); }

    std::size_t countOf(const std::string& actorName) {
        std::size_t found = 0;
        for (const ActorObject* actor : actorsNamed(actorName))
            if (actor->alive()) ++found;
        return found;
    }
    std::vector<const ActorObject*> actorsNamed(const std::string& actorName) {
        std::vector<const ActorObject*> found;
        for (const auto& [id, object] : harness->world().gameObjects())
            if (const auto* actor = dynamic_cast<const ActorObject*>(object); actor && actor->definition().name == actorName)
                found.push_back(actor);
        return found;
    }
    std::vector<std::string> texts() {
        std::vector<std::string> found;
        for (const auto& [id, text] : harness->world().worldTexts())
            if (text->alive()) found.push_back(text->text);
        return found;
    }
    std::size_t flashes() { return harness->recordings().callsStartingWith("UserInterface.flashToolSlot").size(); }
    bool cued(const std::string& sound) {
        const auto& sounds = player().pendingSounds;
        return std::find(sounds.begin(), sounds.end(), sound) != sounds.end();
    }

    // A refusal spends nothing, cues the failure and flashes the slot.
    void expectRefused(Tool used, const std::string& why) {
        const std::string& item = player().definition().tools[std::size_t(used)].countedUpgrade;
        EXPECT_EQ(itemCount(item, items()), 3) << why;
        EXPECT_TRUE(cued("building_not_possible")) << why;
        EXPECT_FALSE(cued("use_" + item)) << why;
        EXPECT_EQ(flashes(), 1u) << why;
    }
    void expectPlaced(Tool used, const std::string& why) {
        const std::string& item = player().definition().tools[std::size_t(used)].countedUpgrade;
        EXPECT_EQ(itemCount(item, items()), 2) << why;
        EXPECT_TRUE(cued("use_" + item)) << why;
        EXPECT_FALSE(cued("building_not_possible")) << why;
        EXPECT_EQ(flashes(), 0u) << why;
    }

    std::unique_ptr<GameHarness> harness;
};

TEST_F(ToolTest, EachBuildingStandsOnlyWhereItsRequirementsHold) {
    struct Case {
        const char* why;
        Tool tool;
        fpVector2 position;  // where the player is put; the floor's top is at y 320
        std::function<void()> arrange;  // after the start
        bool placed;
    };
    const auto none = [] {};
    const auto airborne = [this] { player().groundState = 0; };
    const auto inPool = [this] { player().poolId = 7; };
    const auto climbing = [this] { player().climbing = 1; };
    // Standing is claimed although nothing lies in the cell below.
    const auto hovering = [this] { player().groundState = 1; };
    const auto crowded = [this] { harness->world().spawnActor("m_pebble", {140.0f, 320.0f}, {1, 0}); };
    const Case cases[] = {
        {"lamp on the floor", Lamp, {120, 320}, none, true},
        {"lamp in the air", Lamp, {120, 320}, airborne, false},
        {"lamp in a pool", Lamp, {120, 320}, inPool, false},
        {"lamp while climbing", Lamp, {120, 320}, climbing, false},
        {"lamp over an empty cell", Lamp, {120, 200}, hovering, false},
        {"lamp where a rock lies", Lamp, {120, 320}, crowded, false},
        {"jump plate on the floor", JumpPlate, {120, 320}, none, true},
        {"jump plate in the air", JumpPlate, {120, 320}, airborne, false},
        {"jump plate over an empty cell", JumpPlate, {120, 200}, hovering, false},
        {"jump plate where a rock lies", JumpPlate, {120, 320}, crowded, false},
        {"jump plate in a pool", JumpPlate, {120, 320}, inPool, true},
        {"teleporter on the floor", Teleporter, {120, 320}, none, true},
        {"teleporter in a pool", Teleporter, {120, 320}, inPool, false},
        {"teleporter while climbing", Teleporter, {120, 320}, climbing, false},
        {"teleporter over an empty cell", Teleporter, {120, 200}, hovering, false},
        {"ladder from the floor", Ladder, {120, 320}, none, true},
        {"ladder in mid-air", Ladder, {120, 200}, airborne, true},
        {"ladder reaching into the ceiling", Ladder, {120, 120}, airborne, false},
        {"ladder where a rock lies", Ladder, {120, 320}, crowded, false},
        {"a tool naming no building", Unknown, {120, 320}, none, false},
    };
    for (const Case& c : cases) {
        start("fixture_mine", c.position);
        c.arrange();
        const std::string& item = player().definition().tools[std::size_t(c.tool)].countedUpgrade;
        EXPECT_EQ(useTool(objects(), c.tool), c.placed) << c.why;
        EXPECT_EQ(countOf(item), c.placed ? 1u : 0u) << c.why;
        if (c.placed)
            expectPlaced(c.tool, c.why);
        else
            expectRefused(c.tool, c.why);
    }
}

TEST_F(ToolTest, ABuildingStandsOnTheMiddleOfTheBottomOfThePlayersCell) {
    player().setPosition({157.0f, 320.0f});
    ASSERT_TRUE(useTool(objects(), Lamp));
    const std::vector<const ActorObject*> lamps = actorsNamed("lamp");
    ASSERT_EQ(lamps.size(), 1u);
    EXPECT_EQ(lamps[0]->getPosition(), fpVector2(140.0f, 320.0f));
}

TEST_F(ToolTest, ALampTooNearAnotherIsRefusedWithItsMessageAndSpendsNothing) {
    harness->world().spawnActorFacingRight("lamp", {170.0f, 320.0f});  // 30 px from the anchor at x 140
    EXPECT_FALSE(useTool(objects(), Lamp));
    expectRefused(Lamp, "within the radius");
    EXPECT_EQ(texts(), std::vector<std::string>{"lamps_too_close"});
    EXPECT_EQ(countOf("lamp"), 1u);

    // Beyond the square of side 200 around the anchor another lamp does not matter.
    start("fixture_mine");
    harness->world().spawnActorFacingRight("lamp", {260.0f, 320.0f});
    EXPECT_TRUE(useTool(objects(), Lamp));
}

TEST_F(ToolTest, NoTeleporterIsBuiltInTheTownAndABuiltOneBecomesTheReturnPoint) {
    ASSERT_TRUE(useTool(objects(), Teleporter));
    EXPECT_EQ(harness->world().progress.returnLevel, "fixture_mine");
    EXPECT_EQ(harness->world().progress.returnPosition, fpVector2(140.0f, 320.0f));

    start(Level::TownName);
    EXPECT_FALSE(useTool(objects(), Teleporter));
    expectRefused(Teleporter, "in the town");
    EXPECT_EQ(countOf("teleporter"), 0u);
}

TEST_F(ToolTest, AFullBuildingsGroupRefusesWithItsMessageButDynamiteStillFlies) {
    for (float x : {300.0f, 500.0f, 700.0f}) harness->world().spawnActorFacingRight("lamp", {x, 320.0f});
    ASSERT_NE(objects().maxCountGroup("buildings"), nullptr);
    EXPECT_EQ(objects().maxCountGroup("buildings")->liveCount, 3);
    EXPECT_FALSE(useTool(objects(), JumpPlate));
    expectRefused(JumpPlate, "at the limit");
    EXPECT_EQ(texts(), std::vector<std::string>{"buildings_max"});
    EXPECT_TRUE(useTool(objects(), Throw));
}

TEST_F(ToolTest, RefusalsWithoutItemsOrWithoutTheUpgradeOrInABuildingFreeLevel) {
    items().counts["lamp"] = 0;
    EXPECT_FALSE(useTool(objects(), Lamp));
    EXPECT_EQ(texts(), std::vector<std::string>{"buildings_out_of_stock"});
    EXPECT_TRUE(cued("building_not_possible"));
    EXPECT_EQ(flashes(), 1u);

    // Without the required upgrade, or with no such tool, nothing happens at all.
    player().pendingSounds.clear();
    items().counts.erase("teleporter_licence");
    EXPECT_FALSE(useTool(objects(), Teleporter));
    EXPECT_FALSE(useTool(objects(), 6));
    EXPECT_FALSE(useTool(objects(), -1));
    EXPECT_TRUE(player().pendingSounds.empty());
    EXPECT_EQ(flashes(), 1u);
    EXPECT_EQ(itemCount("teleporter", items()), 3);

    start("fixture_mine");
    harness->world().level->disableBuilding = true;
    EXPECT_FALSE(useTool(objects(), JumpPlate));
    expectRefused(JumpPlate, "building disabled");
    EXPECT_TRUE(useTool(objects(), Throw)) << "dynamite is no building";
}

TEST_F(ToolTest, ALadderBuiltFromAPlatformTopIsGrabbedAtOnce) {
    player().setPosition({125.0f, 320.0f});
    player().groundState = 2;
    ASSERT_TRUE(useTool(objects(), Ladder));
    EXPECT_EQ(player().climbing, 1);
    EXPECT_EQ(player().getPosition(), fpVector2(140.0f, 320.0f));
    EXPECT_EQ(player().timedOffset, fpVector2(-15.0f, 0.0f));
    EXPECT_FLOAT_EQ(player().timedOffsetRemaining, 0.1f);

    start("fixture_mine", {125.0f, 320.0f});
    ASSERT_EQ(player().groundState, 1);
    ASSERT_TRUE(useTool(objects(), Ladder));
    EXPECT_EQ(player().climbing, 0) << "from solid ground the player only builds";
    EXPECT_EQ(player().getPosition().x, 125.0f);
}

TEST_F(ToolTest, DynamiteFliesByTheAimAndTheFacingWithHalfThePlayersOwnVelocityUnlessAimedUp) {
    const float level = 200.0f * std::cos(0.7853982f);
    const float upX = 200.0f * std::cos(1.1780972f);
    const float upY = -200.0f * std::sin(1.1780972f);
    struct Case {
        std::int32_t aimY;
        float facing;
        fpVector2 expected;
    };
    // The player moves at (40, -20).
    const Case cases[] = {
        {-1, 1.0f, {upX, upY}},
        {-1, -1.0f, {-upX, upY}},
        {0, 1.0f, {level + 20.0f, -level - 10.0f}},
        {0, -1.0f, {-level + 20.0f, -level - 10.0f}},
        {1, 1.0f, {20.0f, -10.0f}},
        {1, -1.0f, {20.0f, -10.0f}},
    };
    for (const Case& c : cases) {
        start("fixture_mine");
        player().aimDirection = iVector2(0, c.aimY);
        player().facing = fpVector2(c.facing, 0.0f);
        player().physicalObject.velocity = fpVector2(40.0f, -20.0f);
        ASSERT_TRUE(useTool(objects(), Throw));
        ASSERT_EQ(harness->world().projectiles().size(), 1u);
        const Projectile& thrown = *harness->world().projectiles().begin()->second;
        const std::string why = "aim " + std::to_string(c.aimY) + ", facing " + std::to_string(c.facing);
        EXPECT_NEAR(thrown.physicalObject.velocity.x, c.expected.x, 0.01f) << why;
        EXPECT_NEAR(thrown.physicalObject.velocity.y, c.expected.y, 0.01f) << why;
        EXPECT_EQ(thrown.facing.x, c.facing) << why;
        EXPECT_EQ(thrown.ownerId, player().id()) << why;
        EXPECT_EQ(thrown.getPosition(), player().center()) << why;
        expectPlaced(Throw, why);
    }
}

TEST_F(ToolTest, ChoosingAToolPassesThoseWithoutItemsOrUpgrade) {
    struct Case {
        const char* why;
        std::vector<std::pair<const char*, int>> counts;
        std::int32_t current;
        std::int32_t requested;
        std::int32_t chosen;
    };
    const Case cases[] = {
        {"a usable request", {}, 0, 2, 2},
        {"an empty tool is skipped", {{"jump_plate", 0}}, 0, 2, 3},
        {"the missing upgrade is skipped", {{"teleporter_licence", 0}}, 0, 3, 4},
        {"the search wraps round", {{"dynamite", 0}, {"bellows", 0}}, 2, 4, 0},
        {"from no tool at all", {}, -1, 0, 0},
        {"nothing usable keeps the current tool",
         {{"lamp", 0}, {"ladder", 0}, {"jump_plate", 0}, {"teleporter", 0}, {"dynamite", 0}, {"bellows", 0}}, 1, 2, 1},
    };
    for (const Case& c : cases) {
        start("fixture_mine");
        for (const auto& [item, count] : c.counts) items().counts[item] = count;
        player().toolIndex = c.current;
        player().requestedToolIndex = c.requested;
        chooseTool(harness->world(), player());
        EXPECT_EQ(player().toolIndex, c.chosen) << c.why;
        EXPECT_EQ(player().requestedToolIndex, c.chosen) << c.why;
    }
}

TEST_F(ToolTest, ThePlayerStepChoosesAndUsesTheToolKeepsSixSpeedsAndRunsTheCooldownDown) {
    player().requestedToolIndex = 2;
    player().useToolPressed = true;
    objects().messageCooldown = 0.01f;
    harness->runSteps(1);
    EXPECT_EQ(player().toolIndex, 2);
    EXPECT_FALSE(player().useToolPressed);
    EXPECT_EQ(countOf("jump_plate"), 1u);
    EXPECT_EQ(objects().messageCooldown, 0.0f);

    harness->runSteps(10);
    player().physicalObject.velocity.x = -50.0f;
    harness->runSteps(1);
    ASSERT_EQ(objects().playerSpeedHistory.size(), 6u);
    EXPECT_EQ(objects().playerSpeedHistory.back(), 50.0f) << "the newest last, as a size";
}

TEST_F(ToolTest, AnAttackShortOfWaterWarnsUnlessAChargeIsUnderWay) {
    auto definition = std::make_shared<ActorDefinition>(player().definition());
    ActorDefinition::Weapon lance;
    lance.waterDrain = 1.0f;
    lance.minimumWater = 10.0f;
    definition->weapons = {lance};
    player().installDefinition(definition);
    player().weaponIndex = 0;
    const auto glows = [&] {
        return harness->recordings().callsStartingWith("UserInterface.setStatusBarGlow 1 2").size();
    };
    struct Case {
        const char* why;
        float water;
        float charge;
        bool warned;
    };
    const Case cases[] = {
        {"short of water", 5.0f, 0.0f, true},
        {"a charge under way", 5.0f, 0.5f, false},
        {"water enough", 10.0f, 0.0f, false},
    };
    ActorMovement movement;
    for (const Case& c : cases) {
        harness->runSteps(1);
        const std::size_t glowsBefore = glows();
        const auto warnings = [&] {
            const std::vector<std::string> shown = texts();
            return std::count(shown.begin(), shown.end(), "need_water");
        };
        const auto warningsBefore = warnings();
        objects().messageCooldown = 0.0f;
        player().water = c.water;
        player().chargeTime = c.charge;
        player().attackPressed = true;
        movement.updatePlayer(objects(), GameHarness::StepLength);
        EXPECT_EQ(glows() - glowsBefore, c.warned ? 1u : 0u) << c.why;
        EXPECT_EQ(warnings() - warningsBefore, c.warned ? 1 : 0) << c.why;
    }
}

TEST_F(ToolTest, APushBackOverridesTheInputAndEndsInItsEighthStepAlsoAgainstAWall) {
    struct Case {
        const char* why;
        float startX;
        float endX;
    };
    // 37 px at 300 px/s is 5 px a step: seven whole steps and a last one of 2 px. The wall
    // of the room's left column ends at x 40, 10 px from the player's side at x 60.
    const Case cases[] = {{"in the open", 200.0f, 163.0f}, {"against a wall", 60.0f, 50.0f}};
    for (const Case& c : cases) {
        start("fixture_mine", {c.startX, 320.0f});
        harness->press("move_right");
        harness->press("move_up");
        objects().pushBackRemaining = -37.0f;
        int steps = 0;
        while (objects().pushBackRemaining != 0.0f && steps < 20) {
            harness->runSteps(1);
            ++steps;
            EXPECT_LE(player().getPosition().x, c.startX) << c.why << ": the right button is ignored";
        }
        EXPECT_EQ(steps, 8) << c.why;
        EXPECT_NEAR(player().getPosition().x, c.endX, 0.01f) << c.why;
        EXPECT_NEAR(player().getPosition().y, 320.0f, 0.01f) << c.why;
        harness->runSteps(10);
        EXPECT_GT(player().getPosition().x, c.endX) << c.why << ": the input counts again";
    }
}

} // namespace
} // namespace zor::test
