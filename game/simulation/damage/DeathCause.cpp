#include "game/simulation/damage/DeathCause.h"

#include <algorithm>
#include <cctype>

namespace zor {

std::string deathCauseOfName(const std::string& definitionName) {
    const auto digit = std::find_if(definitionName.begin(), definitionName.end(),
                                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
    std::size_t end = std::size_t(digit - definitionName.begin());
    if (digit == definitionName.end()) return definitionName;
    if (end >= 2 && definitionName[end - 1] == '_') --end;
    return definitionName.substr(0, end);
}

} // namespace zor
