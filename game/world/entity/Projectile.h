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
    // What a contact-filtered detonation hits: the touched entity, the contact's normal,
    // the unit direction of travel into it and the nearest solid cell ((-1, -1): none).
    std::int32_t targetId = 0;
    fpVector2 contactNormal;
    fpVector2 motionDirection;
    iVector2 pendingCell{-1, -1};
    float fuzeTime;            // seconds
    // The projectile's own copy: the weapon that fires it may strengthen it.
    RadialDamageData damage;

private:
    std::shared_ptr<const ProjectileDefinition> m_definition;
};

} // namespace zor
