#include "Framework/graphics/textureset/AtlasMap.h"

#include "Framework/core/Errors.h"

#include <cstdint>
#include <limits>

namespace zor {
namespace {

constexpr const char* blanks = " \t";

bool isBlankLine(const std::string& line) {
    return line.find_first_not_of(blanks) == std::string::npos;
}

// A decimal integer at `at`: optional sign, then at least one digit; reading stops at the
// first other character. Values beyond 32 bits saturate.
bool readInteger(const std::string& line, std::size_t at, std::int32_t& out) {
    bool negative = false;
    if (line[at] == '+' || line[at] == '-') {
        negative = line[at] == '-';
        ++at;
    }
    if (at >= line.size() || line[at] < '0' || line[at] > '9') return false;
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
        if (value < limit) value = value * 10 + (line[at] - '0');
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) value = std::numeric_limits<std::int32_t>::min();
    out = static_cast<std::int32_t>(value);
    return true;
}

[[noreturn]] void badLine(const std::string& mapPath, std::size_t lineNumber, const std::string& reason,
                          const std::string& line) {
    throw CheckReleaseError("Bad line " + std::to_string(lineNumber) + " in texture map file " + mapPath + ": " +
                            reason + ": \"" + line + "\"");
}

} // namespace

std::vector<AtlasMapEntry> parseAtlasMap(const std::vector<std::string>& lines, const std::string& mapPath,
                                         float scale) {
    std::vector<AtlasMapEntry> entries;
    entries.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (isBlankLine(line)) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) badLine(mapPath, i + 1, "no '='", line);
        if (equals == 0) badLine(mapPath, i + 1, "no name before '='", line);

        AtlasMapEntry entry;
        entry.name = line.substr(0, equals - 1);
        float numbers[4];
        std::size_t cursor = equals + 1;
        for (float& number : numbers) {
            const std::size_t blank = line.find_first_of(blanks, cursor);
            const std::size_t start = blank == std::string::npos ? blank : line.find_first_not_of(blanks, blank);
            std::int32_t value = 0;
            if (start == std::string::npos || !readInteger(line, start, value)) {
                badLine(mapPath, i + 1, "fewer than four numbers", line);
            }
            number = static_cast<float>(value) * scale;
            cursor = start;
        }
        entry.rect = fpRect(numbers[0], numbers[1], numbers[2], numbers[3]);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace zor
