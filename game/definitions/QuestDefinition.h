#pragma once
// A quest: its description, the conversation each character holds while it is current,
// the goal that completes it and the marker that shows where to go.

#include <cstdint>
#include <map>
#include <string>

#include <pugixml.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

enum class QuestGoalType : std::int32_t {
    Scripted = 0,      // completed elsewhere
    TalkTo = 1,        // completed elsewhere
    ReachLevel = 2,    // goalValue: a level name
    HaveUpgrade = 3,   // goalValue: an item or upgrade name
    HaveGold = 4,      // goalAmount: money
    BackpackValue = 5, // goalAmount: money plus the carried inventory's value
    Unknown = 6,       // never met
};

// Exact names; any other text gives Unknown.
QuestGoalType parseQuestGoalType(const std::string& name);

enum class QuestMarkerKind : std::int32_t { None = 0, Level = 1, Npc = 2, Shape = 3 };

struct QuestDefinition {
    std::string name;
    std::string descriptionStringId; // localization id
    bool requiresPrerequisite = false;
    // Character name to conversation name; an entry, once made, is never replaced.
    std::map<std::string, std::string> conversations;
    QuestGoalType goalType = QuestGoalType::Unknown;
    std::string goalValue;  // the goal's text for every type but HaveGold and BackpackValue
    float goalAmount = 0.0f; // HaveGold and BackpackValue
    float goalTime = 0.0f;  // seconds
    QuestMarkerKind markerKind = QuestMarkerKind::None;
    bool markerDisabledInSubCaves = false;
    std::string markerLevel;
    std::string markerTarget; // a character or a shape on markerLevel

    // "Name", the "Type" of "Goal", "Name" and "NPC" of each conversation, "Value" of a
    // money goal and "Level" of "Marker" are required; "DisableInSubCaves" must be 1 or 0.
    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<QuestDefinition>;

// Root "QuestDefinitions", element "Quest", key "Name"; file "Definitions/quests.xml".
// Quests are also addressed by their position in the file.
DefinitionRegistry<QuestDefinition>& questRegistry();

bool hasQuest(const std::string& name);
// Throws CheckReleaseError for an unregistered name.
int questIndexByName(const std::string& name);
// Throws std::out_of_range for an index outside the registry.
QuestDefinition& questByIndex(int index);

} // namespace zor
