#include "Framework/graphics/batch/CommonBatch.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Scalar.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/texture/Texture.h"

#include <utility>

namespace zor {

namespace {

constexpr PackedColor kWhite(0xFFFFFFFFu);

void setVertex(Vertex& vertex, const float (&corner)[3], PackedColor color, float u, float v) {
    vertex.x = corner[0];
    vertex.y = corner[1];
    vertex.z = corner[2];
    vertex.color = color;
    vertex.u = u;
    vertex.v = v;
}

} // namespace

CommonBatch::CommonBatch(int capacity, float batchDepth)
    : depth(batchDepth), m_quads(new Quad[static_cast<std::size_t>(capacity) + 1]), m_capacity(capacity) {}

CommonBatch::~CommonBatch() = default;

void CommonBatch::setTexture(const Texture& texture) {
    if (texture.glTexture() == m_currentTexture) return;
    m_runs.push_back({m_count, &texture});
    m_currentTexture = texture.glTexture();
}

Quad& CommonBatch::nextQuad(const Texture& texture) {
    if (m_count >= m_capacity) {
        countDropped();
        return m_quads[static_cast<std::size_t>(m_capacity)];
    }
    setTexture(texture);
    return m_quads[static_cast<std::size_t>(m_count++)];
}

void CommonBatch::countDropped() {
    // Logged once per batch: the owner has to raise its capacity or flush more often.
    if (m_dropped++ == 0)
        LogHandler::log(LogHandler::Warning, "QuadBatch",
                        "A batch of " + std::to_string(m_capacity) +
                            " quads is full; further quads are not drawn until it is flushed");
}

void CommonBatch::addDrawCommand(const DrawCommand& command) {
    const float w = command.source.w;
    const float h = command.source.h;
    const float left = -command.pivot.x;
    const float top = -command.pivot.y;
    const float local[4][2] = {{left, top}, {left, top + h}, {left + w, top}, {left + w, top + h}};

    fpMatrix4 m;
    transform.multiply(command.transform, m);
    float corners[4][3];
    for (int i = 0; i < 4; ++i) {
        const float x = local[i][0];
        const float y = local[i][1];
        corners[i][0] = m[0] * x + m[4] * y + m[12];
        corners[i][1] = m[1] * x + m[5] * y + m[13];
        corners[i][2] = m[2] * x + m[6] * y + m[14];
        if (command.flags & QuadSnap) {
            corners[i][0] = roundHalfAway(corners[i][0]);
            corners[i][1] = roundHalfAway(corners[i][1]);
        }
    }

    const Texture& texture = *command.texture;
    Quad& quad = nextQuad(texture);
    const float rw = texture.reciprocalWidth();
    const float rh = texture.reciprocalHeight();
    float leftU = command.source.x * rw;
    float rightU = leftU + command.source.w * rw;
    float topV = command.source.y * rh;
    float bottomV = topV + command.source.h * rh;
    if (command.flags & QuadMirrorX) std::swap(leftU, rightU);
    if (command.flags & QuadMirrorY) std::swap(topV, bottomV);

    setVertex(quad.vertices[0], corners[0], command.color, leftU, topV);
    setVertex(quad.vertices[1], corners[1], command.color, leftU, bottomV);
    setVertex(quad.vertices[2], corners[2], command.color, rightU, topV);
    setVertex(quad.vertices[3], corners[3], command.color, rightU, bottomV);
}

void CommonBatch::addTexturedRect(const Texture& texture, const fpRect& destination, const fpRect& source,
                                  const PackedColor& color, float rectDepth) {
    Quad& quad = nextQuad(texture);
    const float rw = texture.reciprocalWidth();
    const float rh = texture.reciprocalHeight();
    const float leftU = source.x * rw;
    const float rightU = leftU + source.w * rw;
    const float topV = source.y * rh;
    const float bottomV = topV + source.h * rh;
    const float x = destination.x;
    const float y = destination.y;
    const float right = x + destination.w;
    const float bottom = y + destination.h;
    setVertex(quad.vertices[0], {x, y, rectDepth}, color, leftU, topV);
    setVertex(quad.vertices[1], {x, bottom, rectDepth}, color, leftU, bottomV);
    setVertex(quad.vertices[2], {right, y, rectDepth}, color, rightU, topV);
    setVertex(quad.vertices[3], {right, bottom, rectDepth}, color, rightU, bottomV);
}

void CommonBatch::addQuad(const Quad& quad) {
    if (m_count >= m_capacity) {
        countDropped();
        return;
    }
    m_quads[static_cast<std::size_t>(m_count++)] = quad;
}

void CommonBatch::discardQuads() {
    m_runs.clear();
    m_count = 0;
}

void CommonBatch::drawMatrix(const Texture& texture, const fpMatrix4& matrix, const fpRect& source,
                             const PackedColor& color, const std::uint32_t&, const fpVector2& pivot,
                             unsigned flags) {
    DrawCommand command;
    command.transform = matrix;
    command.source = source;
    command.pivot = pivot;
    command.texture = &texture;
    command.color = color;
    command.flags = flags;
    addDrawCommand(command);
}

void CommonBatch::drawRegion(const Texture& texture, const fpVector2& position, const fpRect& source,
                             const PackedColor& color, const std::uint32_t& reserved, float rotation,
                             const fpVector2& pivot, const fpVector2& scale, unsigned flags, float regionDepth) {
    drawMatrix(texture, makeTransform2D(position.x, position.y, regionDepth, scale.x, scale.y, 1.0f, rotation),
               source, color, reserved, pivot, flags);
}

void CommonBatch::drawTexture(const Texture& texture, const fpVector2& position, const PackedColor& color,
                              const std::uint32_t& reserved, float rotation, const fpVector2& pivot,
                              const fpVector2& scale, unsigned flags, float textureDepth) {
    drawRegion(texture, position, fpRect(0.0f, 0.0f, texture.width(), texture.height()), color, reserved,
               rotation, pivot, scale, flags, textureDepth);
}

void CommonBatch::drawAt(const Texture& texture, const fpVector2& position, const PackedColor& color) {
    drawMatrix(texture, makeTransform2D(position.x, position.y, depth, 1.0f, 1.0f, 1.0f, 0.0f),
               fpRect(0.0f, 0.0f, texture.width(), texture.height()), color, 0, fpVector2(), 0);
}

void CommonBatch::drawRotated(const Texture& texture, const fpVector2& position, float rotation) {
    drawMatrix(texture, makeTransform2D(position.x, position.y, depth, 1.0f, 1.0f, 1.0f, rotation),
               fpRect(0.0f, 0.0f, texture.width(), texture.height()), kWhite, 0, fpVector2(), 0);
}

void CommonBatch::drawWhite(const Texture& texture, const fpVector2& position) {
    drawAt(texture, position, kWhite);
}

} // namespace zor
