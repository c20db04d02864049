#pragma once
// A projectile in flight: whose it is, when it detonates and what its detonation does.

#include "game/definitions/ProjectileDefinition.h"
#include "game/world/entity/GameObject.h"

#include <cstdint>
#include <memory>

namespace zor {

class Projectile final : public GameObject {
public:
    // The fuze time and the radial damage from the definition, the damage dealt in the
    // projectile's own name.
    explicit Projectile(std::shared_ptr<const ProjectileDefinition> definition);

    const ProjectileDefinition& definition() const { return *m_definition; }

    std::int32_t ownerId = 0;  // 0: nobody's
    // The collision groups the projectile touched; any set detonates it.
    std::uint32_t contactGroups = 0;
    float fuzeTime;            // seconds
    // The projectile's own copy: the weapon that fires it may strengthen it.
    RadialDamageData damage;
    // The game object the contact-filtered damage goes to (0: none).
    std::int32_t targetId = 0;
    fpVector2 contactNormal;
    // Unit vector along the flight at the contact.
    fpVector2 motionDirection;
    // The tile cell the contact-filtered damage digs; (-1, -1) for none.
    iVector2 pendingCell{-1, -1};

private:
    std::shared_ptr<const ProjectileDefinition> m_definition;
};

} // namespace zor
