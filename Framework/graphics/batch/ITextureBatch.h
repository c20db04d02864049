#pragma once
// What drawing code sees of a quad batch: queue textured quads. Each texture must stay
// alive until the batch has flushed. The reserved argument is ignored; callers pass 0.

#include <cstdint>

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

namespace zor {

class CommonBatch;
class Texture;

// Draw flags.
enum QuadFlags : unsigned {
    QuadMirrorX = 1,  // swap the left and right texture coordinates
    QuadMirrorY = 2,  // swap the top and bottom texture coordinates
    QuadSnap = 4,     // round the transformed corners' x and y to whole numbers
};

class ITextureBatch {
public:
    virtual ~ITextureBatch() = default;

    // The source rectangle is in the texture's layout units; the pivot is the point of
    // the rectangle placed at the transform's origin.
    virtual void drawMatrix(const Texture& texture, const fpMatrix4& transform, const fpRect& source,
                            const PackedColor& color, const std::uint32_t& reserved, const fpVector2& pivot,
                            unsigned flags) = 0;
    virtual void drawRegion(const Texture& texture, const fpVector2& position, const fpRect& source,
                            const PackedColor& color, const std::uint32_t& reserved, float rotation,
                            const fpVector2& pivot, const fpVector2& scale, unsigned flags, float depth) = 0;
    // drawRegion with the whole texture.
    virtual void drawTexture(const Texture& texture, const fpVector2& position, const PackedColor& color,
                             const std::uint32_t& reserved, float rotation, const fpVector2& pivot,
                             const fpVector2& scale, unsigned flags, float depth) = 0;
    // The whole texture, its top-left corner at the position, at the batch's depth.
    virtual void drawAt(const Texture& texture, const fpVector2& position, const PackedColor& color) = 0;
    virtual void drawRotated(const Texture& texture, const fpVector2& position, float rotation) = 0;
    virtual void drawWhite(const Texture& texture, const fpVector2& position) = 0;

    // The batch's own placement path (CommonBatch::drawPlaced), for callers that queue
    // many quads; null for batches without one.
    virtual CommonBatch* commonBatch() { return nullptr; }
};

} // namespace zor
