#include "game/simulation/digging/TileHitRules.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/contacts/ContactRules.h"
#include "game/simulation/digging/HardnessTierDepth.h"
#include "game/world/World.h"

#include <limits>

namespace zor {

bool TileHitRules::digCell(GameObjectSimulator& objects, std::int32_t column, std::int32_t row,
                           const DamageData& damage, const fpVector2& origin) {
    return objects.digCell(iVector2(column, row), origin, damage);
}

void TileHitRules::detonateProjectile(GameObjectSimulator& objects, Projectile& projectile) {
    objects.explodeProjectile(projectile);
}

float TileHitRules::depthOfHardnessTier(GameObjectSimulator& objects, std::int32_t tier) {
    const Level* level = objects.world().level.get();
    return level ? hardnessTierDepth(*level, tier) : std::numeric_limits<float>::infinity();
}

void TileHitRules::onContact(GameObjectSimulator& objects, PhysicalCollision& contact) {
    handleContact(objects, contact);
}

} // namespace zor
