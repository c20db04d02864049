#include "game/definitions/ConversationDefinition.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/math/Randomizer.h"
#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/conversations.xml";

std::unique_ptr<DefinitionRegistry<ConversationDefinition>> conversations(const std::string& definitions) {
    return test::loadDefinitions(conversationRegistry(), kFile, definitions);
}

const DialogDefinition& dialogAt(const ConversationDefinition& conversation, std::size_t position) {
    Randomizer randomizer(1, 2);
    const DialogDefinition* dialog = conversation.sequence.at(position)->dialog(randomizer);
    EXPECT_NE(dialog, nullptr);
    return *dialog;
}

TEST(ConversationDefinition, KeysLinesAndEntryIndex) {
    const auto registry = conversations(R"(
        <Conversation><Name>bare</Name></Conversation>
        <Conversation><Name>greeting</Name><Shop>forge</Shop><Prospector>1</Prospector><BlurWorld>y</BlurWorld>
          <ShowNextIndicator>T</ShowNextIndicator>
          <Dialog>
            <Entry Name="hello"><Speaker Left="yes">smith</Speaker><Text>talk_hello</Text>
              <Response Next="bye"/><Response/><Response Next="hello"/></Entry>
            <Entry><Speaker>miner</Speaker><Text>talk_plain</Text><Note>ignored</Note></Entry>
            <Entry Name="bye"><Speaker Left="no">smith</Speaker><Text>talk_bye</Text></Entry>
            <Entry Name="hello"><Speaker>smith</Speaker><Text>talk_again</Text></Entry>
            <Entry Name="exit"><Speaker>smith</Speaker><Text>talk_named_exit</Text></Entry>
          </Dialog>
          <Dialog/>
          <Other><Entry><Speaker>x</Speaker><Text>never</Text></Entry></Other>
        </Conversation>)");
    const ConversationDefinition& bare = registry->get("bare");
    EXPECT_EQ(bare.shop, "");
    EXPECT_FALSE(bare.prospector || bare.blurWorld || bare.showNextIndicator);
    EXPECT_TRUE(bare.sequence.empty());

    const ConversationDefinition& greeting = registry->get("greeting");
    EXPECT_EQ(greeting.shop, "forge");
    EXPECT_TRUE(greeting.prospector && greeting.blurWorld && greeting.showNextIndicator);
    ASSERT_EQ(greeting.sequence.size(), 2u);

    const DialogDefinition& dialog = dialogAt(greeting, 0);
    EXPECT_EQ(dialog.owner, &greeting);
    ASSERT_EQ(dialog.entries.size(), 5u);
    const DialogEntry& hello = dialog.entries[0];
    EXPECT_EQ(hello.name, "hello");
    EXPECT_EQ(hello.speaker, "smith");
    EXPECT_TRUE(hello.left);
    EXPECT_EQ(hello.text, "talk_hello");
    EXPECT_EQ(hello.next, (std::vector<std::string>{"bye", "", "hello"}));
    // No response: one empty Next, meaning the following line.
    EXPECT_EQ(dialog.entries[1].name, "");
    EXPECT_FALSE(dialog.entries[1].left);
    EXPECT_EQ(dialog.entries[1].next, std::vector<std::string>{""});
    EXPECT_FALSE(dialog.entries[2].left);
    // A later line of the same name takes the name; "exit" always means the end.
    EXPECT_EQ(dialog.entryIndex.at("hello"), 3);
    EXPECT_EQ(dialog.entryIndex.at("bye"), 2);
    EXPECT_EQ(dialog.entryIndex.at("exit"), 5);
    EXPECT_EQ(dialog.entryIndex.size(), 3u);
    EXPECT_EQ(dialog.entries[4].text, "talk_named_exit");

    const DialogDefinition& empty = dialogAt(greeting, 1);
    EXPECT_TRUE(empty.entries.empty());
    EXPECT_EQ(empty.entryIndex.size(), 1u);
    EXPECT_EQ(empty.entryIndex.at("exit"), 0);
}

TEST(ConversationDefinition, TemplatesShareTheirEntries) {
    const auto registry = conversations(R"(
        <Conversation><Name>base</Name><Shop>forge</Shop>
          <Dialog><Entry><Speaker>a</Speaker><Text>first</Text></Entry></Dialog></Conversation>
        <Conversation><Name>later</Name><Template>base</Template><Prospector>1</Prospector>
          <Dialog><Entry><Speaker>a</Speaker><Text>second</Text></Entry></Dialog></Conversation>)");
    const ConversationDefinition& base = registry->get("base");
    const ConversationDefinition& later = registry->get("later");
    ASSERT_EQ(later.sequence.size(), 2u);
    EXPECT_EQ(later.shop, "forge");
    EXPECT_TRUE(later.prospector);
    EXPECT_EQ(later.sequence[0], base.sequence[0]); // the same entry object
    EXPECT_EQ(dialogAt(later, 0).owner, &base);
    EXPECT_EQ(dialogAt(later, 1).owner, &later);
    EXPECT_EQ(dialogAt(later, 1).entries.at(0).text, "second");
}

TEST(ConversationDefinition, RandomEntriesDrawUniformly) {
    const auto registry = conversations(R"(<Conversation><Name>chat</Name><Random>
          <Dialog><Entry><Speaker>a</Speaker><Text>one</Text></Entry></Dialog>
          <Skip/>
          <Dialog><Entry><Speaker>a</Speaker><Text>two</Text></Entry></Dialog>
          <Dialog><Entry><Speaker>a</Speaker><Text>three</Text></Entry></Dialog>
        </Random></Conversation>)");
    const ConversationDefinition& chat = registry->get("chat");
    ASSERT_EQ(chat.sequence.size(), 1u);
    Randomizer randomizer = Randomizer::fromSeed(12345);
    Randomizer reference = randomizer;
    std::set<std::string> seen;
    for (int i = 0; i < 60; ++i) {
        const DialogDefinition* dialog = chat.sequence[0]->dialog(randomizer);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->owner, &chat);
        // One step per draw: the index is the high word of output * count.
        const std::uint32_t index = reference.nextIndex(3);
        EXPECT_EQ(dialog->entries.at(0).text, (std::vector<std::string>{"one", "two", "three"}[index]));
        seen.insert(dialog->entries.at(0).text);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(ConversationDefinition, RejectedConversations) {
    const struct {
        const char* body;
        const char* reason;
    } cases[] = {
        // A Random without dialogs would have nothing to show.
        {"<Random><Entry><Speaker>a</Speaker><Text>t</Text></Entry></Random>",
         "Random element without Dialog children: it has nothing to say"},
        {"<Dialog><Entry><Text>t</Text></Entry></Dialog>",
         "Missing node: /Conversations/Conversation/Dialog/Entry/Speaker"},
        {"<Random><Dialog><Entry><Speaker>a</Speaker></Entry></Dialog></Random>",
         "Missing node: /Conversations/Conversation/Random/Dialog/Entry/Text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::loadFailure(conversationRegistry(), kFile,
                                    std::string("<Conversation><Name>odd</Name>") + c.body + "</Conversation>"),
                  test::definitionFailure("Conversations", "Conversation", "odd", kFile, c.reason))
            << c.body;
    EXPECT_THROW(RandomSequenceEntry({}), std::runtime_error);
    EXPECT_EQ(findConversationDefinition("no_such_conversation"), nullptr);
    EXPECT_FALSE(hasConversation("no_such_conversation"));
}

} // namespace
} // namespace zor
