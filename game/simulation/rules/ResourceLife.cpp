// Resources drawn toward the player, and resources that time out.

#include "game/simulation/rules/ObjectLife.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ResourceObject.h"

#include "Framework/core/math/Curve.h"

#include <cmath>

namespace zor {

void ObjectLife::updateResource(GameObjectSimulator& objects, ResourceObject& resource, float step) {
    World& world = objects.world();
    const ResourceDefinition& definition = resource.definition();
    const ActorObject* player = world.player();
    // The attraction distance is compared with the squared distance (px^2).
    if (definition.playerAttractionDistance != 0.0f && player) {
        const fpVector2 toPlayer = player->getPosition() - resource.getPosition();
        const float squared = toPlayer.x * toPlayer.x + toPlayer.y * toPlayer.y;
        // On top of the player there is no direction to pull in.
        if (squared < definition.playerAttractionDistance && squared > 0.0f) {
            const float pull =
                evaluateCurve(CurveType::SmoothQuadratic, 1.0f - squared / definition.playerAttractionDistance);
            resource.physicalObject.impulse = definition.playerAttractionSpeed * pull * (toPlayer / std::sqrt(squared));
        }
    }

    if (resource.remainingLifeTime <= 0.0f) return;
    resource.remainingLifeTime -= step;
    if (resource.remainingLifeTime > 0.0f)
        objects.forceUpdate(resource);
    else
        world.removeEntity(&resource);
}

} // namespace zor
