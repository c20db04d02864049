// Digging the strip of cells in front of a moving rectangle.

#include "game/simulation/GameObjectSimulator.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

// How far beyond the rectangle's side the strip is looked for.
constexpr float Reach = TileSize / 2.0f;

std::int32_t cellOf(float pixels) { return std::int32_t(pixels / TileSize); }

} // namespace

iRect GameObjectSimulator::frontCells(const fpVector2& direction, const fpRect& area) const {
    // Ties go to the horizontal case.
    if (std::fabs(direction.y) > std::fabs(direction.x)) {
        const std::int32_t row = cellOf(direction.y > 0.0f ? area.bottom() + Reach : area.y - Reach);
        const std::int32_t a = cellOf(area.x);
        const std::int32_t b = cellOf(area.x + area.w + TileSize - 1.0f);
        return iRect::fromPoints({std::min(a, b), row}, {std::max(a, b), row + 1});
    }
    const std::int32_t column = cellOf(direction.x > 0.0f ? area.right() + Reach : area.x - Reach);
    const std::int32_t a = cellOf(area.y);
    const std::int32_t b = cellOf(area.y + area.h + TileSize - 1.0f);
    return iRect::fromPoints({column, std::min(a, b)}, {column + 1, std::max(a, b)});
}

GameObjectSimulator::FrontDig GameObjectSimulator::digFront(const fpRect& area, const fpVector2& direction,
                                                            const DamageData& damage) {
    FrontDig result;
    const iRect strip = frontCells(direction, area);
    for (std::int32_t row = strip.y; row < strip.y + strip.h; ++row) {
        for (std::int32_t column = strip.x; column < strip.x + strip.w; ++column) {
            if (!isSolidCell({column, row})) continue;
            ++result.solidCells;
            // Every solid cell takes its hit, also after one held.
            result.allBroke = digCell({column, row}, direction, damage) && result.allBroke;
        }
    }
    return result;
}

} // namespace zor
