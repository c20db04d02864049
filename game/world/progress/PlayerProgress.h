#pragma once
// What the player has achieved that outlives a level. The World keeps the live record and,
// in its save state, the snapshot of the last checkpoint (a plain copy, both ways).

#include "game/world/progress/ConversationProgress.h"
#include "game/world/progress/InventorySlotList.h"
#include "game/world/progress/ItemCountMap.h"

#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

class ByteReader;
class ByteWriter;
class StringTable;
class StringTableDynamic;

struct PlayerProgress {
    // The first save file version whose progress record ends with the secrets count.
    static constexpr std::uint16_t SecretsVersion = 19;

    InventorySlotList inventory;
    std::int32_t cash = 0;
    std::int32_t orbs = 0;
    ItemCountMap items;
    ConversationProgress conversations;
    // Position of the current quest among the quest definitions.
    std::int32_t questIndex = 0;
    std::int32_t experience = 0;
    // Where the "[return]" entry of a level leads.
    std::string returnLevel;
    fpVector2 returnPosition;
    // What killed the player last ("suicide", ...); not saved.
    std::string lastDeathCause;
    std::uint16_t secretsFound = 0;

    // The save record, in the newest version: cash and inventory, item counts, conversation
    // progress, the current quest's name, experience, the return point and the secrets
    // count. Names are u16 indices into `table`, which gains the missing ones. Every list
    // is checked against its count field before anything is written: one too long throws
    // CheckReleaseError and leaves the writer as it was. A name the table cannot take
    // (over 65535 bytes, or a full table) throws too, after part of the record; either
    // way the save fails as a whole.
    void write(ByteWriter& writer, StringTableDynamic& table) const;
    // Reads the record of a file of `version` (17 to 19; the secrets count from 19 on). A
    // quest name that no quest definition has (any more) gives quest 0, a return level
    // index beyond the table the empty name. A record cut short sets the reader's overflow
    // flag and leaves the fields it did not reach.
    void read(ByteReader& reader, const StringTable& table, std::uint16_t version);

    // Cash and orbs (32 bits each), then the inventory's slot list record.
    void writeCashAndInventory(ByteWriter& writer, StringTableDynamic& table) const;
    void readCashAndInventory(ByteReader& reader, const StringTable& table);

    void swap(PlayerProgress& other) noexcept;
};

} // namespace zor
