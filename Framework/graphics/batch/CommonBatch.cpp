#include "Framework/graphics/batch/CommonBatch.h"

#include "Framework/core/log/LogHandler.h"

#include <atomic>

namespace zor {

namespace {

constexpr PackedColor kWhite(0xFFFFFFFFu);

} // namespace

CommonBatch::CommonBatch(int capacity, float batchDepth)
    : depth(batchDepth), m_quads(new Quad[static_cast<std::size_t>(capacity)]), m_storage(m_quads.get()),
      m_capacity(capacity),
      m_runs(new TextureRun[static_cast<std::size_t>(capacity) + 1]) {}

CommonBatch::~CommonBatch() = default;

void CommonBatch::setTransform(const fpMatrix4& transform) {
    static std::atomic<std::uint64_t> lastSerial{0};
    m_transform = transform;
    m_plane = PlaneTransform(transform);
    m_transformSerial = m_plane.kind() == PlaneTransform::Identity ? 0 : ++lastSerial;
}

void CommonBatch::clearCurrentTexture() {
    m_currentTexture = 0;
    m_runTexture = nullptr;
}

void CommonBatch::countDropped() {
    // Logged once per batch: the owner has to raise its capacity or flush more often.
    if (m_dropped++ == 0)
        LogHandler::log(LogHandler::Warning, "QuadBatch",
                        "A batch of " + std::to_string(m_capacity) +
                            " quads is full; further quads are not drawn until it is flushed");
}

void CommonBatch::drawPlacedGenerally(const Texture& texture, quadwriter::Float4 linear, quadwriter::Float4 move,
                                      float z, fpRect source, fpVector2 pivot, PackedColor color, unsigned flags) {
    const Affine2D placement{linear[0], linear[1], linear[2], linear[3], move[0], move[1], z};
    drawTransformed(texture, toMatrix(placement), source, pivot, color, flags);
}

void CommonBatch::drawTransformed(const Texture& texture, const fpMatrix4& transform, const fpRect& source,
                                  const fpVector2& pivot, PackedColor color, unsigned flags) {
    fpMatrix4 m;
    m_transform.multiply(transform, m);
    Quad& quad = claimQuad(texture);
    quadwriter::Corners corners = quadwriter::transform(quadwriter::localCorners(source, pivot), m);
    if (flags & QuadSnap) quadwriter::snap(corners);
    quadwriter::write(quad, corners, color,
                      quadwriter::texCoords(source, m_runReciprocals, flags & QuadMirrorX, flags & QuadMirrorY));
}

void CommonBatch::addTexturedRect(const Texture& texture, const fpRect& destination, const fpRect& source,
                                  const PackedColor& color, float rectDepth) {
    if (m_count >= m_capacity) return countDropped();
    const float x = destination.x;
    const float y = destination.y;
    const float right = x + destination.w;
    const float bottom = y + destination.h;
    Quad& quad = claimQuad(texture);
    const quadwriter::Corners corners{quadwriter::Float4{x, y, x, bottom}, quadwriter::Float4{right, y, right, bottom},
                                      quadwriter::splat(rectDepth)};
    quadwriter::write(quad, corners, color, quadwriter::texCoords(source, m_runReciprocals, false, false));
}

void CommonBatch::setTexture(const Texture& texture) {
    const Texture::CachedTexture& record = *texture.cached();
    if (m_runCount == 0 || record.glTexture != m_currentTexture) {
        if (m_runCount > 0 && m_runs[m_runCount - 1].firstQuad == m_count)
            m_runs[m_runCount - 1].texture = &texture;
        else
            m_runs[m_runCount++] = {m_count, &texture};
        m_currentTexture = record.glTexture;
    }
    m_runTexture = &texture;
    m_runReciprocals = reciprocalsOf(record);
}

void CommonBatch::addQuad(const Quad& quad) {
    if (m_count >= m_capacity) return countDropped();
    m_storage[m_count++] = quad;
}

void CommonBatch::discardQuads() {
    m_runCount = 0;
    m_count = 0;
    // The current GL name stays; the texture handle is looked at again.
    m_runTexture = nullptr;
}

void CommonBatch::drawMatrix(const Texture& texture, const fpMatrix4& matrix, const fpRect& source,
                             const PackedColor& color, const std::uint32_t&, const fpVector2& pivot,
                             unsigned flags) {
    if (isPlacement(matrix)) return drawPlaced(texture, placementOf(matrix), source, pivot, color, flags);
    if (m_count >= m_capacity) return countDropped();
    drawTransformed(texture, matrix, source, pivot, color, flags);
}

void CommonBatch::drawRegion(const Texture& texture, const fpVector2& position, const fpRect& source,
                             const PackedColor& color, const std::uint32_t&, float rotation, const fpVector2& pivot,
                             const fpVector2& scale, unsigned flags, float regionDepth) {
    drawPlaced(texture, makeAffine2D(position.x, position.y, regionDepth, scale.x, scale.y, rotation), source, pivot,
               color, flags);
}

void CommonBatch::drawTexture(const Texture& texture, const fpVector2& position, const PackedColor& color,
                              const std::uint32_t& reserved, float rotation, const fpVector2& pivot,
                              const fpVector2& scale, unsigned flags, float textureDepth) {
    drawRegion(texture, position, fpRect(0.0f, 0.0f, texture.width(), texture.height()), color, reserved,
               rotation, pivot, scale, flags, textureDepth);
}

void CommonBatch::drawAt(const Texture& texture, const fpVector2& position, const PackedColor& color) {
    drawPlaced(texture, makeAffine2D(position.x, position.y, depth, 1.0f, 1.0f, 0.0f),
               fpRect(0.0f, 0.0f, texture.width(), texture.height()), fpVector2(), color, 0);
}

void CommonBatch::drawRotated(const Texture& texture, const fpVector2& position, float rotation) {
    drawPlaced(texture, makeAffine2D(position.x, position.y, depth, 1.0f, 1.0f, rotation),
               fpRect(0.0f, 0.0f, texture.width(), texture.height()), fpVector2(), kWhite, 0);
}

void CommonBatch::drawWhite(const Texture& texture, const fpVector2& position) {
    drawAt(texture, position, kWhite);
}

} // namespace zor
