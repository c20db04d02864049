#include "game/definitions/QuestDefinition.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/quests.xml";

std::unique_ptr<DefinitionRegistry<QuestDefinition>> quests(const std::string& definitions) {
    return test::loadDefinitions(questRegistry(), kFile, definitions);
}

TEST(QuestDefinition, KeysAndDefaults) {
    const auto registry = quests(R"(
        <Quest><Name>bare</Name><Goal Type="Scripted"/></Quest>
        <Quest><Name>savings</Name><DescriptionStringId>quest_savings</DescriptionStringId>
          <RequirePrerequisite>yes</RequirePrerequisite>
          <Conversations><Talk NPC="crake" Name="crake_savings"/><Any NPC="wenna" Name="wenna_late"/>
            <Talk NPC="crake" Name="ignored"/></Conversations>
          <Goal Type="HaveGold" Value="250" Time="600"/>
          <Marker Level="town" NPC="crake" Shape="door" DisableInSubCaves="1"/></Quest>)");
    const QuestDefinition& bare = registry->get("bare");
    EXPECT_EQ(bare.descriptionStringId, "");
    EXPECT_FALSE(bare.requiresPrerequisite);
    EXPECT_TRUE(bare.conversations.empty());
    EXPECT_EQ(bare.goalType, QuestGoalType::Scripted);
    EXPECT_EQ(bare.goalValue, "");
    EXPECT_EQ(bare.goalAmount, 0.0f);
    EXPECT_EQ(bare.goalTime, 0.0f);
    EXPECT_EQ(bare.markerKind, QuestMarkerKind::None);
    EXPECT_FALSE(bare.markerDisabledInSubCaves);
    EXPECT_EQ(bare.markerLevel, "");
    EXPECT_EQ(bare.markerTarget, "");

    const QuestDefinition& savings = registry->get("savings");
    EXPECT_EQ(savings.descriptionStringId, "quest_savings");
    EXPECT_TRUE(savings.requiresPrerequisite);
    // The first conversation of a character counts.
    EXPECT_EQ(savings.conversations,
              (std::map<std::string, std::string>{{"crake", "crake_savings"}, {"wenna", "wenna_late"}}));
    EXPECT_EQ(savings.goalType, QuestGoalType::HaveGold);
    EXPECT_EQ(savings.goalAmount, 250.0f);
    EXPECT_EQ(savings.goalValue, "");
    EXPECT_EQ(savings.goalTime, 600.0f);
    EXPECT_EQ(savings.markerKind, QuestMarkerKind::Npc); // NPC wins over Shape
    EXPECT_EQ(savings.markerTarget, "crake");
    EXPECT_EQ(savings.markerLevel, "town");
    EXPECT_TRUE(savings.markerDisabledInSubCaves);
}

TEST(QuestDefinition, GoalTypes) {
    const struct {
        const char* goal;
        QuestGoalType type;
        const char* value;
        float amount;
    } cases[] = {
        {R"(Type="Scripted")", QuestGoalType::Scripted, "", 0},
        {R"(Type="TalkTo" Value="crake")", QuestGoalType::TalkTo, "crake", 0},
        {R"(Type="ReachLevel" Value="caverns")", QuestGoalType::ReachLevel, "caverns", 0},
        {R"(Type="HaveUpgrade" Value="drill_1")", QuestGoalType::HaveUpgrade, "drill_1", 0},
        {R"(Type="HaveGold" Value="500")", QuestGoalType::HaveGold, "", 500},
        {R"(Type="BackpackValue" Value="")", QuestGoalType::BackpackValue, "", 0},
        {R"(Type="havegold" Value="500")", QuestGoalType::Unknown, "500", 0},
        {R"(Type="")", QuestGoalType::Unknown, "", 0},
    };
    for (const auto& c : cases) {
        const auto registry = quests(std::string("<Quest><Name>q</Name><Goal ") + c.goal + "/></Quest>");
        const QuestDefinition& q = registry->get("q");
        EXPECT_EQ(q.goalType, c.type) << c.goal;
        EXPECT_EQ(q.goalValue, c.value) << c.goal;
        EXPECT_EQ(q.goalAmount, c.amount) << c.goal;
    }
}

TEST(QuestDefinition, TemplatesAndMarkers) {
    const auto registry = quests(R"(
        <Quest><Name>base</Name><Conversations><C NPC="crake" Name="intro"/></Conversations>
          <Goal Type="TalkTo" Value="crake" Time="30"/><Marker Level="town" NPC="crake"/></Quest>
        <Quest><Name>money</Name><Template>base</Template>
          <Conversations><C NPC="crake" Name="other"/><C NPC="isolde" Name="trade"/></Conversations>
          <Goal Type="HaveGold" Value="100"/><Marker Level="mine"/></Quest>
        <Quest><Name>shape</Name><Template>base</Template><Goal Type="ReachLevel" Value="deep"/>
          <Marker Level="mine" Shape="shaft" DisableInSubCaves="+1"/></Quest>
        <Quest><Name>quiet</Name><Template>shape</Template><Goal Type="Scripted"/></Quest>)");
    const QuestDefinition& money = registry->get("money");
    // A template's character keeps its conversation.
    EXPECT_EQ(money.conversations, (std::map<std::string, std::string>{{"crake", "intro"}, {"isolde", "trade"}}));
    EXPECT_EQ(money.goalValue, "crake"); // a money goal leaves the text as it was
    EXPECT_EQ(money.goalAmount, 100.0f);
    EXPECT_EQ(money.goalTime, 30.0f);
    EXPECT_EQ(money.markerKind, QuestMarkerKind::Level);
    EXPECT_EQ(money.markerLevel, "mine");
    EXPECT_EQ(money.markerTarget, "crake"); // kept from the template
    const QuestDefinition& shape = registry->get("shape");
    EXPECT_EQ(shape.markerKind, QuestMarkerKind::Shape);
    EXPECT_EQ(shape.markerTarget, "shaft");
    EXPECT_TRUE(shape.markerDisabledInSubCaves);
    const QuestDefinition& quiet = registry->get("quiet");
    EXPECT_EQ(quiet.markerKind, QuestMarkerKind::Shape); // no Marker: all kept
    EXPECT_EQ(quiet.goalValue, "deep");
}

TEST(QuestDefinition, RejectedQuests) {
    const std::string conversion = "bad lexical cast: source type value could not be interpreted as target";
    const struct {
        const char* keys;
        std::string reason;
    } cases[] = {
        {"", "Missing attribute: /@Type"},
        {"<Goal/>", "Missing attribute: /QuestDefinitions/Quest/Goal/@Type"},
        {R"(<Goal Type="HaveGold"/>)", "Missing attribute: /QuestDefinitions/Quest/Goal/@Value"},
        {R"(<Goal Type="BackpackValue"/>)", "Missing attribute: /QuestDefinitions/Quest/Goal/@Value"},
        {R"(<Conversations><C NPC="x"/></Conversations><Goal Type="Scripted"/>)",
         "Missing attribute: /QuestDefinitions/Quest/Conversations/C/@Name"},
        {R"(<Conversations><C Name="x"/></Conversations><Goal Type="Scripted"/>)",
         "Missing attribute: /QuestDefinitions/Quest/Conversations/C/@NPC"},
        {R"(<Goal Type="Scripted"/><Marker NPC="x"/>)", "Missing attribute: /QuestDefinitions/Quest/Marker/@Level"},
        {R"(<Goal Type="Scripted"/><Marker Level="l" DisableInSubCaves="true"/>)", conversion},
        {R"(<Goal Type="Scripted"/><Marker Level="l" DisableInSubCaves="2"/>)", conversion},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::loadFailure(questRegistry(), kFile, std::string("<Quest><Name>q</Name>") + c.keys + "</Quest>"),
                  test::definitionFailure("QuestDefinitions", "Quest", "q", kFile, c.reason))
            << c.keys;
    const auto registry = quests(R"(<Quest><Name>q</Name><Goal Type="Scripted"/><Marker Level="l" DisableInSubCaves="-0"/></Quest>)");
    EXPECT_FALSE(registry->get("q").markerDisabledInSubCaves);
}

TEST(QuestDefinition, GlobalLookupsOfAnAbsentQuest) {
    EXPECT_FALSE(hasQuest("no_such_quest"));
    EXPECT_THROW(questIndexByName("no_such_quest"), CheckReleaseError);
    EXPECT_THROW(questByIndex(static_cast<int>(questRegistry().definitions().size())), std::out_of_range);
    EXPECT_THROW(questByIndex(-1), std::out_of_range);
}

} // namespace
} // namespace zor
