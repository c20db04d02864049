#pragma once
// Damage records the game makes in code rather than reads from a definition.

#include "game/definitions/DamageData.h"

#include <cstdint>

namespace zor {

namespace Damage {

// Fills the record: the given fields, every other field at the record's default.
void init(DamageData& damage, std::int32_t tier, std::int32_t type, float amount, float enemyReduction,
          float enemyAmount);

} // namespace Damage

} // namespace zor
