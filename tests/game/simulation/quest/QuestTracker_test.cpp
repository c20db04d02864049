// The quest tracker: goals, hold time, skipping met quests, stepping back, banners, talks,
// markers on NPCs, shapes and exits, and quest indices outside the list.

#include "tests/game/simulation/quest/QuestFixture.h"

#include "game/world/entity/ShapeObject.h"

namespace zor::test {
namespace {

using Goal = QuestGoalType;

TEST_F(QuestTest, GoalsAreMetByMoneyPackLevelAndUpgrade) {
    QuestTracker& quests = track({questOf(Goal::Scripted)});
    world.progress.inventory.slots = {{"ore", 15}};  // worth 60
    world.progress.items.counts = {{"drill_1", 1}, {"lamp", 0}};
    struct Case {
        QuestDefinition quest;
        std::int32_t cash;
        bool met;
    };
    const Case cases[] = {
        {questOf(Goal::HaveGold, "", 100), 100, true},
        {questOf(Goal::HaveGold, "", 100), 99, false},
        {questOf(Goal::BackpackValue, "", 100), 40, true},
        {questOf(Goal::BackpackValue, "", 100), 39, false},
        {questOf(Goal::ReachLevel, "town"), 0, true},
        {questOf(Goal::ReachLevel, "Town"), 0, false},
        {questOf(Goal::HaveUpgrade, "drill_1"), 0, true},
        {questOf(Goal::HaveUpgrade, "lamp"), 0, false},
        {questOf(Goal::HaveUpgrade, "pickaxe_1"), 0, false},
        // Scripts and talks end these; the goal test never does.
        {questOf(Goal::Scripted, "", 0), 100000, false},
        {questOf(Goal::TalkTo, "quest_smith"), 100000, false},
        {questOf(Goal::TalkTo, ""), 100000, false},
        {questOf(Goal::Unknown, "town", 0), 100000, false},
    };
    for (const Case& c : cases) {
        world.progress.cash = c.cash;
        EXPECT_EQ(quests.isGoalMet(c.quest), c.met)
            << "type " << std::int32_t(c.quest.goalType) << " '" << c.quest.goalValue << "' " << c.quest.goalAmount
            << " at cash " << c.cash;
    }
}

TEST_F(QuestTest, AGoalAdvancesAfterBeingMetForItsTimeWithoutABreak) {
    track({questOf(Goal::HaveGold, "", 100, 3.0f), questOf(Goal::Scripted)});
    world.progress.cash = 100;
    for (int i = 0; i < 5; ++i) step(0.5f);
    EXPECT_EQ(questIndex(), 0) << "2.5 s met";
    world.progress.cash = 99;
    step(0.5f);
    world.progress.cash = 100;
    for (int i = 0; i < 5; ++i) step(0.5f);
    EXPECT_EQ(questIndex(), 0) << "the unmet step restarted the count";
    step(0.5f);
    EXPECT_EQ(questIndex(), 1);
}

TEST_F(QuestTest, AdvancingSkipsEveryQuestAlreadyMetAndStopsAtTheLast) {
    QuestTracker& quests = track({questOf(Goal::HaveGold, "", 10), questOf(Goal::HaveUpgrade, "drill_1"),
                                  questOf(Goal::HaveGold, "", 50, 100.0f), questOf(Goal::Scripted),
                                  questOf(Goal::HaveGold, "", 10)});
    world.progress.cash = 100;
    world.progress.items.counts["drill_1"] = 1;
    step();
    EXPECT_EQ(questIndex(), 3) << "past the upgrade and the held gold, which is met although its time is not";
    quests.advanceQuest();
    EXPECT_EQ(questIndex(), 4);
    quests.advanceQuest();
    step();
    EXPECT_EQ(questIndex(), 4) << "the last quest stays, met or not";
}

TEST_F(QuestTest, LosingARequiredEarlierGoalStepsBack) {
    QuestDefinition drill = questOf(Goal::HaveUpgrade, "drill_1");
    drill.requiresPrerequisite = true;
    QuestDefinition free = questOf(Goal::HaveUpgrade, "pickaxe_1");
    track({questOf(Goal::HaveGold, "", 100), drill, free});
    world.progress.cash = 100;
    step();
    EXPECT_EQ(questIndex(), 1);
    world.progress.cash = 60;  // spent at the shop
    step();
    EXPECT_EQ(questIndex(), 0);
    world.progress.cash = 100;
    step();
    EXPECT_EQ(questIndex(), 1);

    // Without the requirement nothing steps back.
    tracker->setQuest(2);
    world.progress.items.counts.clear();
    world.progress.cash = 0;
    step();
    EXPECT_EQ(questIndex(), 2);
}

TEST_F(QuestTest, StepBackAndSetQuestMoveOnAgainWhenTheGoalIsMet) {
    QuestTracker& quests = track({questOf(Goal::Scripted), questOf(Goal::HaveGold, "", 10), questOf(Goal::Scripted)});
    world.progress.cash = 10;
    quests.setQuest(1);
    EXPECT_EQ(questIndex(), 2);
    quests.previousQuest();
    EXPECT_EQ(questIndex(), 2) << "back to the met quest and on again";
    world.progress.cash = 0;
    quests.previousQuest();
    EXPECT_EQ(questIndex(), 1);
    quests.previousQuest();
    quests.previousQuest();
    EXPECT_EQ(questIndex(), 0);
}

TEST_F(QuestTest, EachNewQuestShowsItsBannerOnce) {
    QuestDefinition first = withMarker(questOf(Goal::Scripted), QuestMarkerKind::Shape, "town", "well");
    first.descriptionStringId = "quest_first";
    QuestDefinition silent = first;
    silent.descriptionStringId = "";
    QuestDefinition last = questOf(Goal::Scripted);
    last.descriptionStringId = "quest_last";
    QuestTracker& quests = track({first, silent, last});
    world.spawnShapeObject(fpRect(0, 0, 10, 10))->name = "well";

    step();
    step();
    EXPECT_EQ(ui.banners, std::vector<std::string>{"banner_quest quest_first '' 2.000000"});
    EXPECT_EQ(takeSounds(), std::vector<std::string>{"show_banner"});
    EXPECT_EQ(world.soundRequests.size(), 0u);
    ASSERT_EQ(markers().size(), 1u);
    const std::int32_t firstMarker = markers().front()->id();

    // No banner and no cue, but a new marker that waits a second before it shows.
    quests.setQuest(1);
    step();
    EXPECT_EQ(ui.banners.size(), 1u);
    EXPECT_EQ(takeSounds(), std::vector<std::string>{});
    ASSERT_EQ(world.destinations().size(), 2u);
    const Destination& marker = *world.destinations().rbegin()->second;
    EXPECT_NE(marker.id(), firstMarker);
    EXPECT_FALSE(marker.shown);

    quests.setQuest(2);
    step();
    quests.setQuest(2);
    step();
    EXPECT_EQ(ui.banners.back(), "banner_quest quest_last '' 2.000000");
    EXPECT_EQ(ui.banners.size(), 2u);
}

TEST_F(QuestTest, AMarkerShowsOneSecondAfterTheQuestChange) {
    track({withMarker(questOf(Goal::Scripted), QuestMarkerKind::Shape, "town", "well")});
    ShapeObject& well = *world.spawnShapeObject(fpRect(0, 0, 10, 10));
    well.name = "well";
    well.setPosition({300.0f, 200.0f});
    takeSounds();
    for (int i = 0; i < 3; ++i) {
        step(0.25f);
        ASSERT_EQ(markers().size(), 1u);
        EXPECT_FALSE(markers().front()->shown) << "step " << i;
    }
    EXPECT_EQ(takeSounds(), std::vector<std::string>{});
    step(0.25f);
    const Destination& marker = *markers().front();
    EXPECT_TRUE(marker.shown);
    EXPECT_FLOAT_EQ(marker.secondTime, 0.3f);
    EXPECT_FLOAT_EQ(marker.value, 0.3f);
    EXPECT_FLOAT_EQ(marker.remainingTime, 0.5f);
    EXPECT_EQ(marker.getPosition(), fpVector2(300.0f, 200.0f));
    ASSERT_EQ(world.soundRequests.size(), 1u);
    EXPECT_EQ(world.soundRequests.front().cue, "new_destination");
    EXPECT_EQ(world.soundRequests.front().position, fpVector2(12.0f, 34.0f)) << "at the player";
}

TEST_F(QuestTest, AMarkerFollowsTheFirstVisibleNpcOfItsName) {
    track({withMarker(questOf(Goal::Scripted), QuestMarkerKind::Npc, "town", "crawler")});
    ActorObject* hidden = world.spawnActorFacingRight("crawler", {50.0f, 50.0f});
    hidden->visible = false;
    world.spawnActorFacingRight("keeper", {70.0f, 70.0f});  // another definition
    ActorObject* crawler = world.spawnActorFacingRight("crawler", {100.0f, 100.0f});
    step();
    ASSERT_EQ(markers().size(), 1u);
    EXPECT_EQ(markers().front()->getPosition(), crawler->center());
    crawler->setPosition({400.0f, 120.0f});
    step();
    ASSERT_EQ(markers().size(), 1u);
    EXPECT_EQ(markers().front()->getPosition(), crawler->center());

    // Gone: the marker is no longer refreshed and goes by itself.
    world.removeEntity(crawler);
    world.processRemovals();
    ASSERT_EQ(markers().size(), 1u);
    Destination& marker = *world.destinations().begin()->second;
    marker.remainingTime = 0.2f;  // as the markers' countdown leaves it
    step();
    EXPECT_FLOAT_EQ(marker.remainingTime, 0.2f);
}

TEST_F(QuestTest, NoMarkerWithoutATargetInTheMarkerLevel) {
    const std::vector<QuestDefinition> cases = {
        withMarker(questOf(Goal::Scripted), QuestMarkerKind::Npc, "town", "quest_smith"),
        withMarker(questOf(Goal::Scripted), QuestMarkerKind::Shape, "town", "no_such_shape"),
        withMarker(questOf(Goal::Scripted), QuestMarkerKind::Level, "town"),
        withMarker(questOf(Goal::Scripted), QuestMarkerKind::None, ""),
    };
    addExit({10.0f, 10.0f}, "mine1");
    world.spawnShapeObject(fpRect(0, 0, 10, 10))->name = "well";
    for (const QuestDefinition& quest : cases) {
        track({quest});
        step();
        EXPECT_TRUE(markers().empty()) << "kind " << std::int32_t(quest.markerKind);
    }
}

TEST_F(QuestTest, ElsewhereTheMarkerStandsOnTheExitWithTheFewestLevels) {
    enterLevel("mine1");
    addExit({100.0f, 0.0f}, "town");
    const ExitObject& toDeep = addExit({200.0f, 0.0f}, "deep", "drill_1");
    addExit({300.0f, 0.0f}, "cave");
    track({withMarker(questOf(Goal::Scripted), QuestMarkerKind::Level, "deep")});
    step();
    EXPECT_TRUE(markers().empty()) << "without the drill no way leads to the deep";

    world.progress.items.counts["drill_1"] = 1;
    step();
    ASSERT_EQ(markers().size(), 1u);
    EXPECT_EQ(markers().front()->getPosition(), toDeep.getPosition()) << "distance 0 before 3";
}

TEST_F(QuestTest, OfExitsAsNearTheFirstIsKept) {
    const ExitObject& first = addExit({100.0f, 0.0f}, "mine1");
    addExit({200.0f, 0.0f}, "mine1");
    addExit({300.0f, 0.0f}, "atlantis");
    track({withMarker(questOf(Goal::Scripted), QuestMarkerKind::Level, "cave")});
    step();
    ASSERT_EQ(markers().size(), 1u);
    EXPECT_EQ(markers().front()->getPosition(), first.getPosition());
}

TEST_F(QuestTest, CavesOfTheMarkerLevelHideTheMarkerWhenTheQuestSaysSo) {
    struct Case {
        const char* markerLevel;
        bool disabledInSubCaves;
        bool cave;
        bool marker;
    };
    const Case cases[] = {
        {"mine1", true, true, false},
        {"mine1", false, true, true},
        {"mine1", true, false, true},  // a level not marked as a cave
        {"town", true, true, true},    // the cave belongs to another level
    };
    for (const Case& c : cases) {
        world.removeAllEntities();
        world.processRemovals();
        enterLevel("grotto", c.cave);
        addExit({80.0f, 400.0f}, "cave");
        track({withMarker(questOf(Goal::Scripted), QuestMarkerKind::Level, c.markerLevel, "", c.disabledInSubCaves)});
        step();
        EXPECT_EQ(markers().size(), c.marker ? 1u : 0u)
            << c.markerLevel << (c.disabledInSubCaves ? " disabled" : "") << (c.cave ? " in a cave" : "");
    }
}

TEST_F(QuestTest, ARemovedMarkerIsReplacedOnALaterStep) {
    addExit({100.0f, 0.0f}, "mine1");
    track({withMarker(questOf(Goal::Scripted), QuestMarkerKind::Level, "cave")});
    step();
    ASSERT_EQ(markers().size(), 1u);
    const std::int32_t first = markers().front()->id();
    world.removeEntityById(first);
    world.processRemovals();
    step();
    EXPECT_TRUE(markers().empty());
    step();
    ASSERT_EQ(markers().size(), 1u);
    EXPECT_NE(markers().front()->id(), first);
}

TEST_F(QuestTest, TalksStartFirstConversationsOnceThenTheQuestsOnes) {
    QuestDefinition early = questOf(Goal::Scripted);
    early.conversations = {{"quest_hermit", "hermit_old"}};
    QuestDefinition talk = questOf(Goal::TalkTo, "quest_smith");
    talk.conversations = {{"quest_smith", "smith_quest"}, {"quest_hermit", "hermit_new"}, {"quest_mute", "gone"}};
    QuestTracker& quests = track({early, talk, questOf(Goal::Scripted)});
    quests.setQuest(1);
    step();

    quests.talkTo("quest_smith");
    EXPECT_EQ(ui.conversations, std::vector<std::string>{"smith_hello"});
    EXPECT_TRUE(hasItem("quest_smith", world.progress.conversations));
    step();
    EXPECT_EQ(questIndex(), 1) << "the first conversation does not count for the goal";

    ui.conversation = true;
    quests.talkTo("quest_smith");
    EXPECT_EQ(ui.conversations.back(), "smith_quest");
    step();
    EXPECT_EQ(questIndex(), 1) << "the talk counts once it is over";
    ui.conversation = false;
    ui.shop = true;
    step();
    EXPECT_EQ(questIndex(), 1) << "and the shop it opened is closed";
    ui.shop = false;
    step();
    EXPECT_EQ(questIndex(), 2);
    step();

    // The nearest quest that gives a conversation: the current one, else an earlier one.
    quests.talkTo("quest_hermit");
    quests.setQuest(1);
    quests.talkTo("quest_hermit");
    quests.setQuest(0);
    quests.talkTo("quest_hermit");
    EXPECT_EQ(ui.conversations, (std::vector<std::string>{"smith_hello", "smith_quest", "hermit_new", "hermit_new",
                                                          "hermit_old"}));

    // Undefined conversations and names no actor definition has start nothing.
    quests.setQuest(1);
    quests.talkTo("quest_mute");
    quests.talkTo("nobody");
    EXPECT_EQ(ui.conversations.size(), 5u);
    EXPECT_FALSE(hasItem("nobody", world.progress.conversations));
}

TEST_F(QuestTest, ATalkToAnotherNpcDoesNotEndATalkToGoal) {
    QuestDefinition talk = questOf(Goal::TalkTo, "quest_smith");
    talk.conversations = {{"quest_hermit", "hermit_new"}};
    QuestTracker& quests = track({talk, questOf(Goal::Scripted)});
    quests.talkTo("quest_hermit");
    step();
    EXPECT_EQ(questIndex(), 0);
}

TEST_F(QuestTest, QuestIndicesOutsideTheListAreClamped) {
    QuestDefinition last = questOf(Goal::Scripted);
    last.descriptionStringId = "quest_last";
    QuestTracker& quests = track({questOf(Goal::Scripted), questOf(Goal::Scripted), last});
    world.progress.questIndex = 16;
    step();
    EXPECT_EQ(questIndex(), 2);
    EXPECT_EQ(ui.banners, std::vector<std::string>{"banner_quest quest_last '' 2.000000"});
    quests.setQuest(-4);
    EXPECT_EQ(questIndex(), 0);
    quests.setQuest(99);
    EXPECT_EQ(questIndex(), 2);
    quests.setQuest(0);
    quests.finishQuests();
    EXPECT_EQ(questIndex(), 2);
}

TEST_F(QuestTest, WithoutQuestsNothingHappens) {
    QuestTracker& quests = track({});
    world.progress.questIndex = 16;
    world.progress.cash = 1000;
    addExit({100.0f, 0.0f}, "mine1");
    *findDebugFlag("game", "questNext") = true;
    step();
    quests.advanceQuest();
    quests.previousQuest();
    quests.setQuest(3);
    quests.finishQuests();
    quests.talkTo("quest_hermit");
    step();
    EXPECT_EQ(questIndex(), 16);
    EXPECT_TRUE(ui.banners.empty());
    EXPECT_TRUE(markers().empty());
    EXPECT_FALSE(*findDebugFlag("game", "questNext")) << "the command is used up";
}

TEST_F(QuestTest, DebugCommandsAreServedEvenDuringASale) {
    track({questOf(Goal::Scripted), questOf(Goal::HaveGold, "", 0), questOf(Goal::Scripted)});
    DebugFlag& next = *findDebugFlag("game", "questNext");
    DebugFlag& previous = *findDebugFlag("game", "questPrev");
    next = true;
    step(0.25f, true);
    EXPECT_EQ(questIndex(), 2) << "on past the met quest";
    EXPECT_FALSE(next);
    EXPECT_TRUE(ui.banners.empty()) << "the sale holds back the rest of the step";
    previous = true;
    step(0.25f, true);
    EXPECT_EQ(questIndex(), 2) << "back to the met quest, which moves on again";
    next = true;
    previous = true;
    step(0.25f, true);
    EXPECT_EQ(questIndex(), 2) << "next first (nothing past the last), then back and on";
    EXPECT_FALSE(next);
    EXPECT_FALSE(previous);
}

TEST_F(QuestTest, ASaleHoldsTheGoalsAndTheBanners) {
    track({questOf(Goal::HaveGold, "", 10), questOf(Goal::Scripted)});
    world.progress.cash = 10;
    step(0.25f, true);
    EXPECT_EQ(questIndex(), 0);
    EXPECT_TRUE(ui.banners.empty());
    step(0.25f, false);
    EXPECT_EQ(questIndex(), 1);
}

} // namespace
} // namespace zor::test
