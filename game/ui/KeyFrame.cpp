#include "game/ui/KeyFrame.h"

#include "Framework/graphics/batch/CommonBatch.h"
#include "game/ui/KeyTextures.h"

namespace zor {

namespace {

// One piece from (left, top) to (right, bottom); its texture coordinates run from 0 by the
// piece's size over the image's, so that a stretched side repeats the image.
void addPiece(CommonBatch& batch, const Texture& texture, PackedColor color, float left, float top, float right,
              float bottom) {
    const float u = (right - left) * texture.reciprocalWidth();
    const float v = (bottom - top) * texture.reciprocalHeight();
    Quad quad;
    quad.vertices[0] = {left, top, 0.0f, color, 0.0f, 0.0f};
    quad.vertices[1] = {left, bottom, 0.0f, color, 0.0f, v};
    quad.vertices[2] = {right, top, 0.0f, color, u, 0.0f};
    quad.vertices[3] = {right, bottom, 0.0f, color, u, v};
    batch.setTexture(texture);
    batch.addQuad(quad);
}

} // namespace

KeyFrameTextures loadedKeyFrameTextures() {
    KeyFrameTextures textures{};
    for (int number = 1; number <= KeyTextureCount; ++number) textures[std::size_t(number - 1)] = keyTexture(number).get();
    return textures;
}

void drawKeyFrame(CommonBatch& batch, const KeyFrameTextures& textures, PackedColor color, float x, float y,
                  float width, float height) {
    for (const Texture* texture : textures)
        if (!texture) return;
    const auto w = [&](int number) { return textures[std::size_t(number - 1)]->width(); };
    const auto h = [&](int number) { return textures[std::size_t(number - 1)]->height(); };
    const auto piece = [&](int number, float left, float top, float right, float bottom) {
        addPiece(batch, *textures[std::size_t(number - 1)], color, left, top, right, bottom);
    };
    const float right = x + width;
    const float bottom = y + height;
    piece(5, x, y, right, bottom);
    piece(1, x - w(1), y - h(1), x, y);
    piece(2, x, y - h(2), right, y);
    piece(3, right, y - h(3), right + w(3), y);
    piece(4, x - w(4), y, x, bottom);
    piece(6, right, y, right + w(6), bottom);
    piece(7, x - w(7), bottom, x, bottom + h(7));
    piece(8, x, bottom, right, bottom + h(8));
    piece(9, right, bottom, right + w(9), bottom + h(9));
}

} // namespace zor
