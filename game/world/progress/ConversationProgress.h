#pragma once
// Which variant of each conversation plays next, and whose first conversation the quest
// tracker has started.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace zor {

class ByteReader;
class ByteWriter;
class StringTable;
class StringTableDynamic;

struct ConversationProgress {
    // The most entries, and the most started names, the record holds.
    static constexpr std::size_t MaxRecordEntries = 65535;

    // Conversation name to the index of the variant played next.
    std::map<std::string, std::int32_t> nextVariants;
    // Actor definitions whose first conversation has been started.
    std::set<std::string> started;

    // The record: u8 format 0, u16 entry count, per entry a u16 name index and a u16 variant
    // (stored as 0 to 65535), u16 name count and a u16 index per name. Names are added to
    // the table. Throws CheckReleaseError, writing nothing, for more than MaxRecordEntries
    // entries or names.
    void write(ByteWriter& writer, StringTableDynamic& table) const;
    // Replaces both by the record's. A variant beyond the conversation's last one becomes
    // the last; an entry for a conversation that is no longer defined, or has no variant,
    // is dropped. Another format, or a record cut short, sets the reader's overflow flag.
    void read(ByteReader& reader, const StringTable& table);
};

// The actor's first conversation has been started.
bool hasItem(const std::string& name, const ConversationProgress& progress);

} // namespace zor
