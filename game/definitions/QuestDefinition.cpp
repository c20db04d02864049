#include "game/definitions/QuestDefinition.h"

#include <boost/lexical_cast.hpp>

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<QuestDefinition>;

QuestGoalType parseQuestGoalType(const std::string& name) {
    static const char* const names[] = {"Scripted", "TalkTo", "ReachLevel", "HaveUpgrade", "HaveGold", "BackpackValue"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        if (name == names[i])
            return static_cast<QuestGoalType>(i);
    return QuestGoalType::Unknown;
}

void QuestDefinition::read(const pugi::xml_node& element) {
    name = requireXmlChildText(element, "Name");
    descriptionStringId = xmlChildString(element, "DescriptionStringId", descriptionStringId);
    requiresPrerequisite = xmlChildBool(element, "RequirePrerequisite", requiresPrerequisite);
    for (const pugi::xml_node conversation : element.child("Conversations").children()) {
        if (conversation.type() != pugi::node_element)
            continue;
        std::string conversationName = requireXmlAttributeText(conversation, "Name");
        conversations.emplace(requireXmlAttributeText(conversation, "NPC"), std::move(conversationName));
    }

    // A missing "Goal" is reported as its missing "Type" on an empty path.
    const pugi::xml_node goal = element.child("Goal");
    goalType = parseQuestGoalType(requireXmlAttributeText(goal, "Type"));
    if (goalType == QuestGoalType::HaveGold || goalType == QuestGoalType::BackpackValue)
        goalAmount = parseLenientFloat(requireXmlAttribute(goal, "Value").value());
    else
        goalValue = xmlAttributeString(goal, "Value", goalValue);
    goalTime = xmlAttributeFloat(goal, "Time", goalTime);

    if (const pugi::xml_node marker = element.child("Marker")) {
        markerLevel = requireXmlAttributeText(marker, "Level");
        if (const pugi::xml_attribute disable = marker.attribute("DisableInSubCaves"))
            markerDisabledInSubCaves = boost::lexical_cast<bool>(std::string(disable.value()));
        if (const pugi::xml_attribute npc = marker.attribute("NPC")) {
            markerKind = QuestMarkerKind::Npc;
            markerTarget = npc.value();
        } else if (const pugi::xml_attribute shape = marker.attribute("Shape")) {
            markerKind = QuestMarkerKind::Shape;
            markerTarget = shape.value();
        } else {
            markerKind = QuestMarkerKind::Level;
        }
    }
}

DefinitionRegistry<QuestDefinition>& questRegistry() {
    static DefinitionRegistry<QuestDefinition> registry("QuestDefinitions", "Quest", "Name");
    return registry;
}

bool hasQuest(const std::string& name) { return questRegistry().contains(name); }

int questIndexByName(const std::string& name) { return questRegistry().indexOf(name); }

QuestDefinition& questByIndex(int index) { return *questRegistry().definitions().at(static_cast<std::size_t>(index)); }

} // namespace zor
