// Building script graphs from level records: slots, links to placed world objects, missing
// properties and types, and a level entered twice.

#include "tests/game/script/ScriptGraphFixture.h"

#include "game/script/LevelScriptSimulator.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/level/Level.h"

#include "game/definitions/ActorDefinition.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

class ScriptGraphBuildTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loadFixtureDefinitions();
        addDefinitions(actorRegistry(), "script actors", R"(
          <Actor>
            <Name>script_proxy</Name>
            <SpecialType>player_proxy</SpecialType>
            <CollisionBox>-10;-30;20;30</CollisionBox>
            <CollisionGroup>enemies</CollisionGroup>
          </Actor>)");
    }

    // An actor placed by the record (id, the fixture's placement).
    ActorObject* placeActor(const std::string& definition, std::uint32_t id) {
        ActorObject* actor = f.world.spawnActorFacingRight(definition, {100, 100});
        actor->placementKey = {std::int32_t(id), ScriptGraphFixture::Placement};
        return actor;
    }

    ScriptGraphFixture f;
};

TEST_F(ScriptGraphBuildTest, OnlyTheFourGroupSlotsFeedAnAlternate) {
    f.node(1, "Always");
    f.node(2, "Alternate", {{"SkipEmpty", PatchGraphValue(false)}});
    f.link(1, 2);
    for (const char* slot : {"out1", "out5", "Out1", "out1 ", "out"}) {
        const std::uint32_t probe = std::uint32_t(10 + f.records.size());
        f.node(probe, "Probe").name = slot;
        f.link(2, probe, slot);
    }
    ScriptSystem& system = f.build();
    // Every link is an ordinary connection; the Alternate only ever feeds "out1".
    EXPECT_EQ(system.nodes()[1]->outputs.size(), 5u);
    EXPECT_EQ(f.run(5), (std::map<std::string, std::string>{
                            {"out1", "10001"}, {"out5", "....."}, {"Out1", "....."}, {"out1 ", "....."}, {"out", "....."}}));
}

TEST_F(ScriptGraphBuildTest, LinksBindThePlacedObjectsTheyName) {
    ActorObject* player = f.world.spawnPlayer();
    ASSERT_NE(player, nullptr);
    const ActorObject* crawler = placeActor("crawler", 20);
    placeActor("script_proxy", 21);
    ShapeObject* shape = f.world.spawnShapeObject({0, 0, 40, 40});
    shape->placementKey = {22, ScriptGraphFixture::Placement};
    ShapeObject* removed = f.world.spawnShapeObject({0, 0, 40, 40});
    removed->placementKey = {23, ScriptGraphFixture::Placement};
    f.world.removeEntity(removed);
    f.node(1, "Probe");
    f.link(1, 20, "entity");
    f.link(1, 21, "speaker");
    f.link(1, 22, "shape");
    f.link(1, 23, "gone");
    f.link(1, 24, "nothing");
    // Another placement of the same record is another object.
    f.records[0].links.push_back({"elsewhere", "", 20, ScriptGraphFixture::Placement + 1});
    f.build();
    EXPECT_EQ(f.probe("1").bound, (std::map<std::string, std::int32_t>{
                                      {"entity", crawler->id()}, {"speaker", player->id()}, {"shape", shape->id()}}));
    EXPECT_TRUE(f.system->nodes()[0]->outputs.empty());
}

TEST_F(ScriptGraphBuildTest, AProxyWithoutAPlayerBindsNothing) {
    placeActor("script_proxy", 21);
    f.node(1, "Probe");
    f.link(1, 21, "speaker");
    f.build();
    EXPECT_TRUE(f.probe("1").bound.empty());
}

TEST_F(ScriptGraphBuildTest, ATargetWithoutRecordIdIsNeverAWorldObject) {
    ActorObject* unplaced = f.world.spawnActorFacingRight("crawler", {0, 0});
    unplaced->placementKey = {0, ScriptGraphFixture::Placement};
    f.node(1, "Probe");
    f.link(1, 0, "entity");
    f.build();
    EXPECT_TRUE(f.probe("1").bound.empty());
}

TEST_F(ScriptGraphBuildTest, RecordsOfUnknownTypesAreLeftOutWithAWarningEach) {
    LogCapture log;
    f.node(1, "Always");
    f.node(2, "Mystery");
    f.node(3, "Probe");
    f.node(4, "Probe");
    f.node(5, "LevelStarted");
    f.link(1, 2);
    f.link(2, 3);
    f.link(1, 4);
    f.link(5, 4);
    ScriptSystem& system = f.build();
    EXPECT_EQ(system.nodes().size(), 3u);
    EXPECT_EQ(f.run(2), (std::map<std::string, std::string>{{"3", ".."}, {"4", "11"}}));
    ASSERT_EQ(log.warnings.size(), 2u);
    EXPECT_NE(log.warnings[0].find("'fixture'"), std::string::npos) << log.warnings[0];
    EXPECT_NE(log.warnings[0].find("'Mystery'"), std::string::npos) << log.warnings[0];
    EXPECT_NE(log.warnings[1].find("'LevelStarted'"), std::string::npos) << log.warnings[1];
}

TEST_F(ScriptGraphBuildTest, NodesKeepTheRecordsNamesAndBoxes) {
    PatchGraphNode& record = f.node(1, "Always");
    record.name = "clock";
    record.x = 10;
    record.y = 20;
    record.width = 30;
    record.height = 40;
    ScriptSystem& system = f.build();
    EXPECT_EQ(system.nodes()[0]->name, "clock");
    EXPECT_EQ(system.nodes()[0]->rect, fpRect(10, 20, 30, 40));
}

// The simulator's graph: each build a new one from the level's records, with its ticks
// and counters from the start; the shapes' touched flags cleared after every pass.
TEST_F(ScriptGraphBuildTest, EachLevelEntryBuildsAnIndependentGraph) {
    LevelScriptSimulator scripts(f.world);
    scripts.build();
    EXPECT_EQ(scripts.system(), nullptr);
    ShapeObject* shape = f.world.spawnShapeObject({0, 0, 40, 40});
    shape->activated = true;
    scripts.update(0.25f);
    EXPECT_FALSE(shape->activated);

    f.world.level = std::make_shared<Level>("graph_level");
    f.node(1, "Always", {{"Trigger Count", PatchGraphValue(std::string("2"))}});
    f.node(2, "Once");
    f.link(1, 2);
    f.world.level->graphNodes = f.records;
    const auto emitted = [&] {
        std::string values;
        for (int pass = 0; pass < 3; ++pass) {
            shape->activated = true;
            scripts.update(0.25f);
            EXPECT_FALSE(shape->activated);
            values += scripts.system()->nodes()[0]->outputs[0]->value ? "1" : "0";
        }
        return values;
    };
    scripts.build();
    const ScriptSystem* first = scripts.system();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(emitted(), "110");
    EXPECT_EQ(first->tick(), 4u);
    scripts.build();
    ASSERT_NE(scripts.system(), nullptr);
    EXPECT_EQ(scripts.system()->tick(), 1u);
    EXPECT_EQ(emitted(), "110");
}

} // namespace
} // namespace zor::test
