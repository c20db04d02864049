// Reads arbitrary bytes as the player progress record of a save: one byte choosing the
// file version (17 + byte % 3), a string table, then the record. A record that reads is
// whole (its slots name registered items, its variants lie within their conversations),
// and the game writes it again as a record that reads back to the same bytes.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_player_progress
//   build-fuzz/fuzz/fuzz_player_progress -max_total_time=60 build-fuzz/fuzz/corpus/player_progress
// With ZOR_FUZZ_SEED_TO=<seed file> it writes a seed instead: a progress using every
// definition below, in the newest version.

#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/InventoryItemDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/world/progress/PlayerProgress.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"
#include "fuzz/support/FuzzFolders.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

void defineGameData() {
    zor::questRegistry().loadText("fuzz quests", R"(<QuestDefinitions>
        <Quest><Name>q_descent</Name><Goal Type="Scripted"/></Quest>
        <Quest><Name>q_drill</Name><Goal Type="HaveUpgrade" Value="drill_1"/></Quest>
      </QuestDefinitions>)");
    const std::string dialog = "<Dialog><Entry><Speaker>crake</Speaker><Text>line</Text></Entry></Dialog>";
    zor::conversationRegistry().loadText(
        "fuzz conversations", "<Conversations><Conversation><Name>crake_intro</Name>" + dialog + dialog +
                                  "</Conversation><Conversation><Name>silent</Name></Conversation></Conversations>");
    for (const char* name : {"copper", "amber"}) {
        auto item = std::make_shared<zor::InventoryItemDefinition>();
        item->name = name;
        item->maxCountPerStack = 25;
        zor::inventoryItemRegistry().add(name, item);
    }
}

std::vector<std::uint8_t> bytesOf(const zor::ByteWriter& writer) {
    return std::vector<std::uint8_t>(writer.data().get(), writer.data().get() + writer.size());
}

// The record as the game writes it, with its own table in front.
std::vector<std::uint8_t> saved(const zor::PlayerProgress& progress) {
    zor::StringTableDynamic table;
    zor::ByteWriter body(256);
    progress.write(body, table);
    zor::ByteWriter file(256);
    file.writeU8(zor::PlayerProgress::SecretsVersion - 17);
    table.write(file);
    std::vector<std::uint8_t> bytes = bytesOf(file);
    const std::vector<std::uint8_t> record = bytesOf(body);
    bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

// The record of the bytes when it reads whole and nothing follows it.
bool load(const std::uint8_t* data, std::size_t size, zor::PlayerProgress& progress) {
    if (size < 1) return false;
    zor::ByteArray copy(new std::uint8_t[size]);
    std::memcpy(copy.get(), data, size);
    zor::ByteReader reader(copy, size, 1);
    zor::StringTable table;
    table.read(reader);
    progress.read(reader, table, std::uint16_t(17 + data[0] % 3));
    return !reader.overflow() && reader.remaining() == 0;
}

void writeSeed(const char* to) {
    zor::PlayerProgress progress;
    progress.inventory.slots = {{"copper", 12}, {"", 0}, {"amber", 3}};
    progress.cash = 420;
    progress.orbs = 7;
    progress.items.counts = {{"drill_1", 1}, {"pouch", 2}};
    progress.items.names = {"lamp"};
    progress.conversations.nextVariants = {{"crake_intro", 1}};
    progress.conversations.started = {"crake"};
    progress.questIndex = 1;
    progress.experience = 1500;
    progress.returnLevel = "shalebury";
    progress.returnPosition = {320.0f, 88.5f};
    progress.secretsFound = 2;
    zor::fuzz::writeSeedAndExit(to, saved(progress));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    defineGameData();
    if (const char* to = std::getenv("ZOR_FUZZ_SEED_TO")) writeSeed(to);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    zor::PlayerProgress progress;
    if (!load(data, size, progress)) return 0;

    for (const zor::InventorySlot& slot : progress.inventory.slots)
        check(slot.itemName.empty() || zor::inventoryItemRegistry().contains(slot.itemName));
    check(progress.inventory.slots.empty() ||
          (!progress.inventory.slots.back().itemName.empty() && progress.inventory.slots.back().count > 0));
    check(progress.questIndex >= 0 && std::size_t(progress.questIndex) < zor::questRegistry().definitions().size());
    for (const auto& [name, variant] : progress.conversations.nextVariants) {
        const auto definition = zor::findConversationDefinition(name);
        check(definition && variant >= 0 && std::size_t(variant) < definition->sequence.size());
    }

    const std::vector<std::uint8_t> first = saved(progress);
    zor::PlayerProgress reread;
    check(load(first.data(), first.size(), reread));
    check(saved(reread) == first);
    return 0;
}
