#pragma once
// The frame of a key cap: nine pieces of the key images around a rectangle, the corners
// once, the edges and the centre repeated along the sides they stretch over.

#include "Framework/core/math/Color.h"

#include <array>

namespace zor {

class CommonBatch;
class Texture;

// In the order of "Textures/key_1.png" to "key_9.png": the top-left corner, the top edge,
// the top-right corner, the left edge, the centre, the right edge, then the bottom row.
using KeyFrameTextures = std::array<const Texture*, 9>;

// The key images as loaded at start-up (null entries before that).
KeyFrameTextures loadedKeyFrameTextures();

// Queues the centre over (x, y, width, height), then the eight border pieces outside it in
// image order, each at its image's size across the side it borders.
void drawKeyFrame(CommonBatch& batch, const KeyFrameTextures& textures, PackedColor color, float x, float y,
                  float width, float height);

} // namespace zor
