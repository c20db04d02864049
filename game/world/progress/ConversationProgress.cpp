#include "game/world/progress/ConversationProgress.h"

#include "game/definitions/ConversationDefinition.h"
#include "game/world/progress/RecordLimits.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <algorithm>

namespace zor {

namespace {

constexpr std::uint8_t RecordFormat = 0;

} // namespace

void ConversationProgress::write(ByteWriter& writer, StringTableDynamic& table) const {
    checkRecordCount(nextVariants.size(), MaxRecordEntries, "conversation variants");
    checkRecordCount(started.size(), MaxRecordEntries, "started conversations");
    writer.writeU8(RecordFormat);
    writer.writeU16(std::uint16_t(nextVariants.size()));
    for (const auto& [name, variant] : nextVariants) {
        writer.writeU16(recordNameIndex(table, name));
        writer.writeU16(saturated<std::uint16_t>(variant));
    }
    writer.writeU16(std::uint16_t(started.size()));
    for (const std::string& name : started) writer.writeU16(recordNameIndex(table, name));
}

void ConversationProgress::read(ByteReader& reader, const StringTable& table) {
    if (reader.readU8() != RecordFormat) {
        reader.setOverflow();
        return;
    }
    nextVariants.clear();
    for (std::uint16_t n = reader.readU16(); n > 0 && !reader.overflow(); --n) {
        const std::string& name = table.at(reader.readU16());
        const std::int32_t variant = reader.readU16();
        const auto definition = findConversationDefinition(name);
        // Without a variant there is nothing to clamp to; the talk starts at the first.
        if (reader.overflow() || !definition || definition->sequence.empty()) continue;
        nextVariants[name] = std::min(variant, std::int32_t(definition->sequence.size()) - 1);
    }
    started.clear();
    for (std::uint16_t m = reader.readU16(); m > 0 && !reader.overflow(); --m) {
        const std::string& name = table.at(reader.readU16());
        if (!reader.overflow()) started.insert(name);
    }
}

bool hasItem(const std::string& name, const ConversationProgress& progress) {
    return progress.started.count(name) != 0;
}

} // namespace zor
