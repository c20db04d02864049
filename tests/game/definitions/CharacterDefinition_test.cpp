#include "game/definitions/CharacterDefinition.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/characters.xml";

const char* const kRequired =
    "<LocalizedName>char_x</LocalizedName><Sprite>Sprites/portraits;x</Sprite><SpriteOffset>2;-4</SpriteOffset>";

TEST(CharacterDefinition, KeysDefaultsAndTemplate) {
    const auto registry = test::loadDefinitions(characterRegistry(), kFile, std::string(R"(
        <Character><Name>plain</Name>)") + kRequired + R"(</Character>
        <Character><Name>voiced</Name>)" + kRequired + R"(<TalkSound>talk_low</TalkSound><TalkSpeed> 28 </TalkSpeed></Character>
        <Character><Name>copy</Name><Template>voiced</Template>)" + kRequired + R"(<TalkSpeed>fast</TalkSpeed></Character>)");
    const CharacterDefinition& plain = registry->get("plain");
    EXPECT_EQ(plain.name, "plain");
    EXPECT_EQ(plain.localizedName, "char_x");
    EXPECT_EQ(plain.sprite, "Sprites/portraits;x");
    EXPECT_EQ(plain.spriteOffset, fpVector2(2, -4));
    EXPECT_EQ(plain.talkSound, "");
    EXPECT_EQ(plain.talkSpeed, 0.0f);
    EXPECT_EQ(registry->get("voiced").talkSound, "talk_low");
    EXPECT_EQ(registry->get("voiced").talkSpeed, 28.0f); // blanks around a number are allowed
    // An optional value that does not convert keeps the template's.
    EXPECT_EQ(registry->get("copy").talkSpeed, 28.0f);
    EXPECT_EQ(registry->get("copy").talkSound, "talk_low");
}

TEST(CharacterDefinition, RequiredKeys) {
    const struct {
        const char* keys;
        const char* reason;
    } cases[] = {
        {"<Sprite>s</Sprite><SpriteOffset>0;0</SpriteOffset>", "No such node (LocalizedName)"},
        {"<LocalizedName>l</LocalizedName><SpriteOffset>0;0</SpriteOffset>", "No such node (Sprite)"},
        {"<LocalizedName>l</LocalizedName><Sprite>s</Sprite>", "No such node (SpriteOffset)"},
        {"<LocalizedName>l</LocalizedName><Sprite>s</Sprite><SpriteOffset>0</SpriteOffset>",
         "conversion of data to type \"N3zor9fpVector2E\" failed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::loadFailure(characterRegistry(), kFile,
                                    std::string("<Character><Name>mute</Name>") + c.keys + "</Character>"),
                  test::definitionFailure("Characters", "Character", "mute", kFile, c.reason))
            << c.keys;
    EXPECT_EQ(findCharacterDefinition("no_such_character"), nullptr);
    EXPECT_THROW(getCharacterDefinition("no_such_character"), CheckReleaseError);
}

// The whole file fails with the per-file text when it is missing.
TEST(CharacterDefinition, MissingFile) {
    DefinitionRegistry<CharacterDefinition> registry("Characters", "Character", "Name");
    try {
        registry.loadFile("Definitions/no_characters_here.xml");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not load Characters from file 'Definitions/no_characters_here.xml', reason: Could not read "
                  "definitions file Definitions/no_characters_here.xml");
    }
}

} // namespace
} // namespace zor
