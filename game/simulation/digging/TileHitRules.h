#pragma once
// The hit rules with digging: damage to cells and the hardness-tier depths come from the
// GameObjectSimulator's tile operations, detonations from its attack operations; contacts go
// to the contact rules.

#include "game/simulation/seams/HitRules.h"

namespace zor {

class TileHitRules : public HitRules {
public:
    // The origin is the hit's travel direction (zero for pressure).
    bool digCell(GameObjectSimulator& objects, std::int32_t column, std::int32_t row, const DamageData& damage,
                 const fpVector2& origin) override;
    void detonateProjectile(GameObjectSimulator& objects, Projectile& projectile) override;
    float depthOfHardnessTier(GameObjectSimulator& objects, std::int32_t tier) override;
    void onContact(GameObjectSimulator& objects, PhysicalCollision& contact) override;
};

} // namespace zor
