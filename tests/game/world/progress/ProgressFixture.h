#pragma once
// Definitions and byte helpers of the progress record tests. The registries only grow, so
// the names here are the tests' own.
//
// Quests, in order: "q_fixture_first", "q_fixture_second". Conversations: "fixture_talk"
// (three variants), "fixture_silent" (none). Inventory items (stack limit, value, drops on
// death): "fixture_ore" (25, 3, yes), "fixture_gem" (1, 200, no), "fixture_crown" (5,
// 2000000000, no), "fixture_dust" (0, 1, yes).

#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/InventoryItemDefinition.h"
#include "game/definitions/QuestDefinition.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace zor::test {

inline void loadProgressDefinitions() {
    static const bool loaded = [] {
        questRegistry().loadText("fixture quests", R"(<QuestDefinitions>
            <Quest><Name>q_fixture_first</Name><Goal Type="Scripted"/></Quest>
            <Quest><Name>q_fixture_second</Name><Goal Type="ReachLevel" Value="fixture_mine"/></Quest>
          </QuestDefinitions>)");
        const char* const dialog = "<Dialog><Entry><Speaker>fixture_npc</Speaker><Text>line</Text></Entry></Dialog>";
        conversationRegistry().loadText("fixture conversations",
                                        std::string("<Conversations><Conversation><Name>fixture_talk</Name>") +
                                            dialog + dialog + dialog +
                                            "</Conversation><Conversation><Name>fixture_silent</Name>"
                                            "</Conversation></Conversations>");
        struct Item {
            const char* name;
            std::int32_t stack;
            std::int32_t value;
            bool drops;
        };
        const Item items[] = {
            {"fixture_ore", 25, 3, true},
            {"fixture_gem", 1, 200, false},
            {"fixture_crown", 5, 2000000000, false},
            {"fixture_dust", 0, 1, true},  // a stack limit the data should not have
        };
        for (const Item& entry : items) {
            auto item = std::make_shared<InventoryItemDefinition>();
            item->name = entry.name;
            item->maxCountPerStack = entry.stack;
            item->value = entry.value;
            item->droppedOnDeath = entry.drops;
            inventoryItemRegistry().add(entry.name, item);
        }
        return true;
    }();
    (void)loaded;
}

inline std::vector<std::uint8_t> bytesOf(const ByteWriter& writer) {
    return std::vector<std::uint8_t>(writer.data().get(), writer.data().get() + writer.size());
}

// A reader over the first `length` bytes.
inline ByteReader readerOf(const std::vector<std::uint8_t>& bytes, std::size_t length) {
    ByteArray data(new std::uint8_t[bytes.size() + 1]);
    if (!bytes.empty()) std::memcpy(data.get(), bytes.data(), bytes.size());
    return ByteReader(data, length);
}

inline ByteReader readerOf(const std::vector<std::uint8_t>& bytes) {
    return readerOf(bytes, bytes.size());
}

// A table holding the strings at their positions, as a save file's reader has it.
inline StringTable tableOf(const std::vector<std::string>& strings) {
    ByteWriter writer(64);
    writer.writeU16(std::uint16_t(strings.size()));
    for (const std::string& text : strings) writer.writeString(text);
    ByteReader reader(writer.data(), writer.size());
    StringTable table;
    table.read(reader);
    return table;
}

} // namespace zor::test
