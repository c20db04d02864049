#include "game/world/progress/RecordLimits.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/StringTable.h"

namespace zor {

void checkRecordCount(std::size_t count, std::size_t most, const char* what) {
    if (count > most)
        throw CheckReleaseError("A save holds at most " + std::to_string(most) + " " + what + ", not " +
                                std::to_string(count));
}

std::uint16_t recordNameIndex(StringTableDynamic& names, const std::string& name) {
    if (name.size() > std::numeric_limits<std::uint16_t>::max())
        throw CheckReleaseError("A save holds names of at most 65535 bytes, not " + std::to_string(name.size()) +
                                " (\"" + name.substr(0, 40) + "...\")");
    const std::size_t index = names.indexOf(name);
    if (index >= StringTable::MaxEntries)
        throw CheckReleaseError("A save holds at most " + std::to_string(StringTable::MaxEntries) +
                                " names; \"" + name + "\" is one more");
    return std::uint16_t(index);
}

} // namespace zor
