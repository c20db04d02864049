#include "game/definitions/ConversationDefinition.h"

#include <stdexcept>

#include "Framework/core/math/Randomizer.h"
#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<ConversationDefinition>;

namespace {

DialogEntry readLine(const pugi::xml_node& line) {
    DialogEntry entry;
    entry.name = xmlAttributeString(line, "Name", entry.name);
    entry.speaker = requireXmlChildText(line, "Speaker");
    entry.left = xmlAttributeBool(line.child("Speaker"), "Left", entry.left);
    entry.text = requireXmlChildText(line, "Text");
    for (const pugi::xml_node response : line.children("Response"))
        entry.next.push_back(xmlAttributeString(response, "Next", ""));
    if (entry.next.empty())
        entry.next.emplace_back();
    return entry;
}

DialogDefinition readDialog(const pugi::xml_node& element, const ConversationDefinition& owner) {
    DialogDefinition dialog;
    dialog.owner = &owner;
    dialog.read(element);
    return dialog;
}

} // namespace

void DialogDefinition::read(const pugi::xml_node& dialog) {
    for (const pugi::xml_node line : dialog.children("Entry")) {
        DialogEntry entry = readLine(line);
        // A later line of the same name takes the name over.
        if (!entry.name.empty())
            entryIndex[entry.name] = static_cast<int>(entries.size());
        entries.push_back(std::move(entry));
    }
    entryIndex["exit"] = static_cast<int>(entries.size());
}

RandomSequenceEntry::RandomSequenceEntry(std::vector<std::shared_ptr<DialogDefinition>> dialogs)
    : m_dialogs(std::move(dialogs)) {
    if (m_dialogs.empty())
        throw std::runtime_error("Random element without Dialog children: it has nothing to say");
}

const DialogDefinition* RandomSequenceEntry::dialog(Randomizer& randomizer) const {
    return m_dialogs[randomizer.nextIndex(static_cast<std::uint32_t>(m_dialogs.size()))].get();
}

void ConversationDefinition::read(const pugi::xml_node& element) {
    name = requireXmlChildText(element, "Name");
    shop = xmlChildString(element, "Shop", shop);
    prospector = xmlChildBool(element, "Prospector", prospector);
    blurWorld = xmlChildBool(element, "BlurWorld", blurWorld);
    showNextIndicator = xmlChildBool(element, "ShowNextIndicator", showNextIndicator);
    for (const pugi::xml_node child : element.children()) {
        const std::string childName = child.name();
        if (childName == "Dialog") {
            sequence.push_back(std::make_shared<DialogSequenceEntry>(readDialog(child, *this)));
        } else if (childName == "Random") {
            std::vector<std::shared_ptr<DialogDefinition>> dialogs;
            for (const pugi::xml_node dialog : child.children("Dialog"))
                dialogs.push_back(std::make_shared<DialogDefinition>(readDialog(dialog, *this)));
            sequence.push_back(std::make_shared<RandomSequenceEntry>(std::move(dialogs)));
        }
    }
}

DefinitionRegistry<ConversationDefinition>& conversationRegistry() {
    static DefinitionRegistry<ConversationDefinition> registry("Conversations", "Conversation", "Name");
    return registry;
}

std::shared_ptr<ConversationDefinition> findConversationDefinition(const std::string& name) {
    return conversationRegistry().find(name);
}

bool hasConversation(const std::string& name) { return conversationRegistry().contains(name); }

} // namespace zor
