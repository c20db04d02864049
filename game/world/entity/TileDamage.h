#pragma once
// The marker of a tile being dug. Its position is the top-left corner of its 40 x 40 tile.

#include "game/world/entity/Entity.h"

namespace zor {

class TileDamage final : public Entity {
public:
    TileDamage() : Entity(EntityType::TileDamage) {}

    // Accumulated damage as a fraction of the tile's hardness.
    float progress = 0.0f;
};

} // namespace zor
