#pragma once
// What the death screens call the actor that killed the player.

#include <string>

namespace zor {

// The definition name cut before its first digit, and before an underscore right in front of
// that digit unless the digit is among the first two characters ("crawler_12" and
// "crawler12" give "crawler"); a name without digits is taken whole.
std::string deathCauseOfName(const std::string& definitionName);

} // namespace zor
