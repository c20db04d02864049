#pragma once
// The terrain shapes of a slice that need no patches: noise and shape fields over a
// rectangle R of layer 0, and the wavy widths of the side borders. Cells are level cells.

#include <cstdint>
#include <vector>

#include "Framework/core/math/Rect.h"
#include "game/world/level/LevelDefinition.h"

namespace zor {

class IRandomizer;

// One bit per cell of R, row by row; a cleared bit lies inside a drawn rectangle.
class FieldMask {
public:
    // Every bit set.
    FieldMask(std::int32_t width, std::int32_t height);

    // Clears the cells of the rectangle that lie inside the mask.
    void clear(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h);
    // The cell must lie inside the mask.
    bool isSet(std::int32_t x, std::int32_t y) const {
        return (m_words[std::size_t(y) * m_wordsPerRow + std::size_t(x) / 32] >> (std::uint32_t(x) % 32)) & 1u;
    }

private:
    std::int32_t m_width;
    std::int32_t m_height;
    std::size_t m_wordsPerRow;
    std::vector<std::uint32_t> m_words;
};

// The mask of a field over R: for the rect style, numberOfFields rectangles are drawn
// (left, top, width, height, four draws each) and cleared; other styles draw nothing.
FieldMask drawFieldMask(const FillerField& field, const iRect& r, IRandomizer& randomizer, bool legacy);

// Whether cell (x, y) of R belongs to the field: the field's max is above the style's value
// there. `offset` is the field's noise offset.
bool fieldCovers(const FillerField& field, const iRect& r, const FieldMask& mask, float offset, std::int32_t x,
                 std::int32_t y);

// The width of one side's border on the row of phase `phase` (row plus the side's random
// start). Saw with a width of 0 or less has no border.
std::int32_t borderWidthAt(BorderStyle style, std::int32_t borderWidth, float valueA, std::int64_t phase);

} // namespace zor
