#pragma once
// What the characters say. A conversation is a sequence of entries, one shown per talk;
// each entry yields a dialog, an ordered list of lines (speaker, localized text, where to
// go next).

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

class Randomizer;
struct ConversationDefinition;

// One line of a dialog.
struct DialogEntry {
    std::string name;
    std::string speaker; // character definition name
    bool left = false;   // the speaker's portrait stands on the left
    std::string text;    // localization id
    // The "Next" of each response; never empty after reading, and an empty name means
    // the following line.
    std::vector<std::string> next;
};

struct DialogDefinition {
    // The conversation whose reader made the dialog; for dialogs inherited through a
    // template that is the template conversation.
    const ConversationDefinition* owner = nullptr;
    std::vector<DialogEntry> entries;
    // Line name to position; "exit" is bound to the number of lines, which ends the dialog.
    std::unordered_map<std::string, int> entryIndex;

    // Reads the "Entry" children of a "Dialog" element; "Speaker" and "Text" are required.
    void read(const pugi::xml_node& dialog);
};

struct ConversationDefinition {
    class SequenceEntry {
    public:
        virtual ~SequenceEntry() = default;
        // The dialog to show this time; never null.
        virtual const DialogDefinition* dialog(Randomizer& randomizer) const = 0;
    };

    std::string name;
    // Entries of the definition follow the template's, which stay shared with it.
    std::vector<std::shared_ptr<SequenceEntry>> sequence;
    std::string shop; // shop definition name
    bool prospector = false;
    bool blurWorld = false;
    bool showNextIndicator = false;

    // "Name" is required; every "Dialog" and "Random" child appends one sequence entry.
    // A "Random" without any "Dialog" fails the definition.
    void read(const pugi::xml_node& element);
};

// A fixed dialog.
class DialogSequenceEntry : public ConversationDefinition::SequenceEntry {
public:
    explicit DialogSequenceEntry(DialogDefinition dialog) : m_dialog(std::move(dialog)) {}
    const DialogDefinition* dialog(Randomizer&) const override { return &m_dialog; }

private:
    DialogDefinition m_dialog;
};

// One of several dialogs, drawn anew each time.
class RandomSequenceEntry : public ConversationDefinition::SequenceEntry {
public:
    // Throws std::runtime_error when `dialogs` is empty: there would be nothing to draw.
    explicit RandomSequenceEntry(std::vector<std::shared_ptr<DialogDefinition>> dialogs);
    // Steps the randomizer once: index (output * count) >> 32.
    const DialogDefinition* dialog(Randomizer& randomizer) const override;

    const std::vector<std::shared_ptr<DialogDefinition>>& dialogs() const { return m_dialogs; }

private:
    std::vector<std::shared_ptr<DialogDefinition>> m_dialogs;
};

extern template class DefinitionRegistry<ConversationDefinition>;

// Root "Conversations", element "Conversation", key "Name"; file "Definitions/conversations.xml".
DefinitionRegistry<ConversationDefinition>& conversationRegistry();

// Null when the name is not registered.
std::shared_ptr<ConversationDefinition> findConversationDefinition(const std::string& name);
bool hasConversation(const std::string& name);

} // namespace zor
