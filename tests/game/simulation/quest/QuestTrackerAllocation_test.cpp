// A tracker step allocates nothing once the first step has run: this program counts every
// operator new made while goals are held and tested, a way out is searched for every step
// (it is guarded by an item the player lacks), and a marker follows its exit and its NPC.

#include "tests/game/simulation/quest/QuestFixture.h"

#include "tests/support/allocations/CountingAllocator.h"

namespace zor::test {
namespace {

TEST_F(QuestTest, AStepAllocatesNothingAfterTheFirst) {
    QuestDefinition held = questOf(QuestGoalType::BackpackValue, "", 100.0f, 1.0e6f);
    held.descriptionStringId = "quest_held";
    held.requiresPrerequisite = true;
    held = withMarker(held, QuestMarkerKind::Npc, "deep", "crawler", true);
    QuestDefinition first = questOf(QuestGoalType::HaveUpgrade, "lamp");
    first.descriptionStringId = "quest_lamp";
    track({first, held});
    world.progress.items.counts = {{"lamp", 1}, {"drill_1", 0}};
    world.progress.inventory.slots = {{"ore", 15}};
    world.progress.cash = 40;
    enterLevel("grotto", true);
    const ExitObject& exit = addExit({100.0f, 0.0f}, "cave");
    addExit({200.0f, 0.0f}, "atlantis");

    // The first step moves past the lamp quest and shows the banner; no marker yet, as
    // the only way to the deep needs the drill.
    step(0.25f);
    world.soundRequests.clear();
    const auto run = [&](int steps) {
        for (int i = 0; i < steps; ++i) {
            countingAllocations = true;
            step(0.25f);
            countingAllocations = false;
            world.soundRequests.clear();
        }
    };
    run(100);
    EXPECT_EQ(countedAllocations.load(), 0) << "searching";
    EXPECT_TRUE(markers().empty());

    // With the drill a marker comes on the exit, and refreshing it is free.
    world.progress.items.counts["drill_1"] = 1;
    step(0.25f);
    ASSERT_EQ(markers().size(), 1u);
    EXPECT_EQ(markers().front()->getPosition(), exit.getPosition());
    run(100);
    EXPECT_EQ(countedAllocations.load(), 0) << "on the exit";

    // In the deep the marker follows the crawler.
    enterLevel("deep");
    ActorObject* crawler = world.spawnActorFacingRight("crawler", {300.0f, 50.0f});
    step(0.25f);
    run(100);
    EXPECT_EQ(countedAllocations.load(), 0) << "on the crawler";
    ASSERT_EQ(markers().size(), 1u);
    EXPECT_EQ(markers().front()->getPosition(), crawler->center());
    EXPECT_TRUE(markers().front()->shown);
    EXPECT_EQ(questIndex(), 1);
    EXPECT_EQ(ui.banners.size(), 1u);
}

} // namespace
} // namespace zor::test
