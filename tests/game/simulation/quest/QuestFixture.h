#pragma once
// A World in a level of a small level-link graph, with a quest tracker over quests made in
// code and an interface that records banners and conversations.
//
//   town ── mine1 ──(drill_1)── deep ── abyss       cave and grotto are caves below mine1;
//             │                                     sealed and sealed2 only lead to each
//           cave ── grotto                          other; mine1 also links to "nowhere",
//                                                   which has no record; fork reaches goal
//   fork ── long1 ── long2 ── goal                  through long1 and long2 or through short.
//     └──── short ───────────┘

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/simulation/ports/NullPorts.h"
#include "game/simulation/quest/QuestTracker.h"
#include "game/world/World.h"
#include "game/world/entity/Destination.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/level/LevelLink.h"
#include "game/world/level/PatchSet.h"

#include "Framework/core/math/Randomizer.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zor::test {

class QuestInterface final : public NullUserInterface {
public:
    bool conversationOpen() const override { return conversation; }
    bool shopOpen() const override { return shop; }
    void showBanner(const std::string& key, const std::string& headerTextId, const std::string& itemText,
                    float seconds) override {
        banners.push_back(key + " " + headerTextId + " '" + itemText + "' " + std::to_string(seconds));
    }
    void startConversation(const std::string& conversationName) override {
        conversations.push_back(conversationName);
    }

    bool conversation = false;
    bool shop = false;
    std::vector<std::string> banners;
    std::vector<std::string> conversations;
};

struct LinkRow {
    std::string name;
    bool subLevel;
    std::vector<std::pair<std::string, std::string>> links;  // target, required item
};

inline LevelLinkTable levelLinksOf(const std::vector<LinkRow>& rows) {
    LevelLinkTable table;
    for (const LinkRow& row : rows) {
        LevelLink& record = table.getOrCreate(row.name);
        record.name = row.name;
        record.subLevel = row.subLevel;
        for (const auto& [target, item] : row.links) record.links.push_back({nullptr, target, item});
    }
    table.resolveTargets();
    return table;
}

inline LevelLinkTable fixtureLevelLinks() {
    return levelLinksOf({
        {"town", false, {{"mine1", ""}}},
        {"mine1", false, {{"town", ""}, {"cave", ""}, {"deep", "drill_1"}, {"nowhere", ""}}},
        {"cave", true, {{"mine1", ""}, {"cave", ""}, {"grotto", ""}}},
        {"grotto", true, {{"cave", ""}}},
        {"deep", false, {{"mine1", ""}, {"abyss", ""}}},
        {"abyss", false, {{"deep", ""}}},
        {"sealed", true, {{"sealed2", ""}}},
        {"sealed2", true, {{"sealed", ""}}},
        {"fork", false, {{"long1", ""}, {"short", ""}}},
        {"long1", false, {{"long2", ""}}},
        {"long2", false, {{"goal", ""}}},
        {"short", false, {{"goal", ""}}},
        {"goal", false, {}},
    });
}

inline QuestDefinition questOf(QuestGoalType type, const std::string& goal = "", float amount = 0.0f,
                               float time = 0.0f) {
    QuestDefinition quest;
    quest.goalType = type;
    quest.goalValue = goal;
    quest.goalAmount = amount;
    quest.goalTime = time;
    return quest;
}

inline QuestDefinition withMarker(QuestDefinition quest, QuestMarkerKind kind, const std::string& level,
                                  const std::string& target = "", bool disabledInSubCaves = false) {
    quest.markerKind = kind;
    quest.markerLevel = level;
    quest.markerTarget = target;
    quest.markerDisabledInSubCaves = disabledInSubCaves;
    return quest;
}

// Characters of the talks: the smith has a first conversation, the hermit none, and the
// mute's first conversation is not defined.
inline void loadQuestDefinitions() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(actorRegistry(), "quest actors", R"(
          <Actor><Name>quest_smith</Name><FirstConversation>smith_hello</FirstConversation></Actor>
          <Actor><Name>quest_hermit</Name></Actor>
          <Actor><Name>quest_mute</Name><FirstConversation>mute_silence</FirstConversation></Actor>)");
        std::string conversations;
        for (const char* name : {"smith_hello", "smith_quest", "hermit_old", "hermit_new"})
            conversations += std::string("<Conversation><Name>") + name +
                             "</Name><Dialog><Entry><Speaker>a</Speaker><Text>t</Text></Entry></Dialog></Conversation>";
        addDefinitions(conversationRegistry(), "quest conversations", conversations);
        return true;
    }();
    (void)loaded;
}

class QuestTest : public ::testing::Test {
protected:
    QuestTest() {
        loadQuestDefinitions();
        world.spawnPlayer()->setPosition({12.0f, 34.0f});
        enterLevel("town");
    }

    void enterLevel(const std::string& name, bool cave = false) {
        auto level = std::make_shared<Level>(name);
        level->isCave = cave;
        world.level = std::move(level);
    }

    QuestTracker& track(const std::vector<QuestDefinition>& quests) {
        std::vector<std::shared_ptr<const QuestDefinition>> shared;
        for (const QuestDefinition& quest : quests) shared.push_back(std::make_shared<QuestDefinition>(quest));
        tracker.emplace(world, ui, std::move(shared), links);
        return *tracker;
    }

    void step(float seconds = 0.25f, bool saleRunning = false) { tracker->update(seconds, saleRunning); }

    std::int32_t questIndex() const { return world.progress.questIndex; }

    ExitObject& addExit(const fpVector2& position, const std::string& target, const std::string& requiredItem = "") {
        PatchExit& exit = exitRecords.emplace_back();
        exit.x = position.x;
        exit.y = position.y;
        exit.halfSize = 20.0f;
        exit.targetLevel = target;
        exit.requiredItem = requiredItem;
        return *world.spawnExit(fpRect(position.x - 20.0f, position.y - 20.0f, 40.0f, 40.0f), exit);
    }

    // The markers that are still alive, in id order.
    std::vector<const Destination*> markers() const {
        std::vector<const Destination*> alive;
        for (const auto& [id, marker] : world.destinations())
            if (marker->alive()) alive.push_back(marker);
        return alive;
    }

    // The cues requested since the last call.
    std::vector<std::string> takeSounds() {
        std::vector<std::string> cues;
        for (const SoundRequest& request : world.soundRequests) cues.push_back(request.cue);
        world.soundRequests.clear();
        return cues;
    }

    Randomizer random = Randomizer::fromSeed(11);
    std::deque<PatchExit> exitRecords;  // outlive the World's exits
    World world{random};
    QuestInterface ui;
    LevelLinkTable links = fixtureLevelLinks();
    std::optional<QuestTracker> tracker;
};

} // namespace zor::test
