#pragma once
// Fills the camera's view with actors: on open cells over solid ones, several to a cell
// (shifted 8 px apart) when there are few, facing left and right in turn.

#include "game/world/PersistentTileMap.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zor::bench {

inline void spawnActorsInView(World& world, const std::string& definition, int count) {
    const PersistentTileMap& grid = *world.level->tileMap;
    const fpRect view = world.camera.visibleRect;
    std::vector<fpVector2> spots;
    for (int row = int(view.y / 40.0f); row < int((view.y + view.h) / 40.0f); ++row)
        for (int column = int(view.x / 40.0f); column < int((view.x + view.w) / 40.0f); ++column)
            if (grid.get(column, row, 1) == 0 && (grid.get(column, row + 1, 0) & 1) != 0)
                spots.emplace_back(float(column) * 40.0f + 20.0f, float(row + 1) * 40.0f);
    if (spots.empty()) spots.push_back(world.player()->getPosition());
    for (int i = 0; i < count; ++i) {
        const fpVector2 spot = spots[std::size_t(i) % spots.size()];
        const float shift = float(i / int(spots.size()) % 3 - 1) * 8.0f;
        world.spawnActor(definition, spot + fpVector2(shift, -1.0f), {i % 2 == 0 ? 1.0f : -1.0f, 0.0f});
    }
}

} // namespace zor::bench
