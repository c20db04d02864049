#include "game/world/entity/Projectile.h"

#include <utility>

namespace zor {

Projectile::Projectile(std::shared_ptr<const ProjectileDefinition> definition)
    : GameObject(definition, GameObjectKind::Projectile),
      fuzeTime(definition->timeFuze),
      damage(definition->radialDamage),
      m_definition(std::move(definition)) {
    damage.damage.sourceObjectId = id();
}

} // namespace zor
