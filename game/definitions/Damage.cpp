#include "game/definitions/Damage.h"

namespace zor {

void Damage::init(DamageData& damage, std::int32_t tier, std::int32_t type, float amount, float enemyReduction,
                  float enemyAmount) {
    damage = DamageData();
    damage.amount = amount;
    damage.tier = tier;
    damage.type = DamageType(type);
    damage.enemyReduction = enemyReduction;
    damage.enemyAmount = enemyAmount;
}

} // namespace zor
