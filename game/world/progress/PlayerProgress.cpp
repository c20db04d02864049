#include "game/world/progress/PlayerProgress.h"

#include "game/definitions/QuestDefinition.h"
#include "game/world/progress/RecordLimits.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <utility>

namespace zor {

namespace {

// The current quest's name, empty when the index names no quest definition.
const std::string& questName(std::int32_t index) {
    static const std::string none;
    const auto& quests = questRegistry().definitions();
    return index >= 0 && std::size_t(index) < quests.size() ? quests[std::size_t(index)]->name : none;
}

std::int32_t questIndexOf(const std::string& name) {
    return !name.empty() && hasQuest(name) ? questIndexByName(name) : 0;
}

// A 32-bit field that a cut record leaves alone.
void readInto(ByteReader& reader, std::int32_t& field) {
    const std::int32_t value = reader.readS32();
    if (!reader.overflow()) field = value;
}

// The lists written after the inventory, whose own check comes first.
void checkLimits(const PlayerProgress& progress) {
    checkRecordCount(progress.items.counts.size(), ItemCountMap::MaxRecordEntries, "item counts");
    checkRecordCount(progress.items.names.size(), ItemCountMap::MaxRecordEntries, "item names");
    checkRecordCount(progress.conversations.nextVariants.size(), ConversationProgress::MaxRecordEntries,
                     "conversation variants");
    checkRecordCount(progress.conversations.started.size(), ConversationProgress::MaxRecordEntries,
                     "started conversations");
}

} // namespace

void PlayerProgress::write(ByteWriter& writer, StringTableDynamic& table) const {
    checkLimits(*this);
    // Its slot count is checked before the cash is written.
    writeCashAndInventory(writer, table);
    items.write(writer, table);
    conversations.write(writer, table);
    writer.writeU16(recordNameIndex(table, questName(questIndex)));
    writer.writeU32(std::uint32_t(experience));
    writer.writeU16(recordNameIndex(table, returnLevel));
    writer.writeFloat(returnPosition.x);
    writer.writeFloat(returnPosition.y);
    writer.writeU16(secretsFound);
}

void PlayerProgress::read(ByteReader& reader, const StringTable& table, std::uint16_t version) {
    readCashAndInventory(reader, table);
    items.read(reader, table);
    conversations.read(reader, table);
    const std::string& quest = table.at(reader.readU16());
    if (!reader.overflow()) questIndex = questIndexOf(quest);
    readInto(reader, experience);
    const std::string& level = table.at(reader.readU16());
    if (!reader.overflow()) returnLevel = level;
    reader.readFloat(returnPosition.x);
    reader.readFloat(returnPosition.y);
    if (version >= SecretsVersion) {
        const std::uint16_t secrets = reader.readU16();
        if (!reader.overflow()) secretsFound = secrets;
    }
}

void PlayerProgress::writeCashAndInventory(ByteWriter& writer, StringTableDynamic& table) const {
    checkRecordCount(inventory.slots.size(), InventorySlotList::MaxRecordSlots, "inventory slots");
    writer.writeS32(cash);
    writer.writeS32(orbs);
    inventory.write(writer, table);
}

void PlayerProgress::readCashAndInventory(ByteReader& reader, const StringTable& table) {
    readInto(reader, cash);
    readInto(reader, orbs);
    inventory.read(reader, table);
}

void PlayerProgress::swap(PlayerProgress& other) noexcept {
    using std::swap;
    swap(inventory, other.inventory);
    swap(cash, other.cash);
    swap(orbs, other.orbs);
    swap(items, other.items);
    swap(conversations, other.conversations);
    swap(questIndex, other.questIndex);
    swap(experience, other.experience);
    swap(returnLevel, other.returnLevel);
    swap(returnPosition, other.returnPosition);
    swap(lastDeathCause, other.lastDeathCause);
    swap(secretsFound, other.secretsFound);
}

} // namespace zor
