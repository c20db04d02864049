#include "game/world/level/PatchLibraryCursor.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

void readLevelLinkSection(ByteReader& reader, const StringTable& strings, PatchLibraryTables& tables) {
    PatchLibraryCursor in(reader, strings, "level-link section");
    tables.levelLinks = LevelLinkTable();
    if (in.atEnd()) return;
    const std::uint16_t recordCount = in.u16();
    for (std::uint16_t r = 0; r < recordCount; ++r) {
        in.setRecord("level " + std::to_string(r));
        const std::string name = in.name();
        in.setRecord("level " + quoted(name));
        LevelLink& record = tables.levelLinks.getOrCreate(name);
        // A signed byte: 1 to 127 mark a sub-level, 0 and 128 to 255 a root level.
        record.subLevel = static_cast<std::int8_t>(in.u8()) > 0;
        record.links.clear();
        for (std::uint16_t n = in.u16(); n > 0; --n) {
            LevelLinkEntry& link = record.links.emplace_back();
            link.targetName = in.name();
            link.requiredItem = in.name();
        }
    }
    tables.levelLinks.resolveTargets();
}

} // namespace zor
