#include "Framework/graphics/batch/QuadBatch.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/screen/Projection.h"
#include "Framework/graphics/texture/Texture.h"

#include <GL/glew.h>

#include <stdexcept>
#include <vector>

namespace zor {

namespace {

constexpr std::uint32_t kQuadBytes = sizeof(Quad);
constexpr std::uint32_t kQuadIndexBytes = 6 * sizeof(std::uint16_t);

const void* byteOffset(std::uintptr_t offset) { return reinterpret_cast<const void*>(offset); }

bool canMapBuffers() {
    static const bool can = GLEW_VERSION_3_0 || GLEW_ARB_map_buffer_range;
    return can;
}

int checkedCapacity(int capacity) {
    if (capacity < 1 || capacity > QuadBatch::kMaxCapacity)
        throw std::invalid_argument("a quad batch holds 1 to 16384 quads, not " + std::to_string(capacity));
    return capacity;
}

} // namespace

QuadBatch::QuadBatch(int capacity)
    : CommonBatch(checkedCapacity(capacity), 0.0f), m_defaultEffect(std::make_unique<ColorTextureEffect>()) {
    glGenBuffers(1, &m_indexBuffer);
    setScreenProjection();
    buildIndices();
}

QuadBatch::~QuadBatch() {
    // A batch in a static lives past the context.
    if (!renderContextAlive()) return;
    if (!writesOwnArray()) {
        unmapBuffer();
        VertexBufferPool::release(m_vertexBuffer);
    }
    glDeleteBuffers(1, &m_indexBuffer);
}

void QuadBatch::buildIndices() {
    std::vector<std::uint16_t> indices(static_cast<std::size_t>(m_capacity) * 6);
    for (int i = 0; i < m_capacity; ++i) {
        const auto first = static_cast<std::uint16_t>(4 * i);
        std::uint16_t* quad = &indices[static_cast<std::size_t>(i) * 6];
        quad[0] = first;
        quad[1] = first + 1;
        quad[2] = first + 2;
        quad[3] = first + 3;
        quad[4] = first + 2;
        quad[5] = first + 1;
    }
    m_indexBufferSize = static_cast<std::uint32_t>(m_capacity) * kQuadIndexBytes;
    glBindBuffer(GL_ARRAY_BUFFER, m_indexBuffer);
    glBufferData(GL_ARRAY_BUFFER, m_indexBufferSize, indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void QuadBatch::begin() {
    setTransform(fpMatrix4::identity());
    m_transformChanged = true;
    blendMode = 1;
    currentEffect = m_defaultEffect.get();
    clearCurrentTexture();
    if (m_count == 0 && writesOwnArray() && !m_vertexBuffer) mapBuffer();
}

bool QuadBatch::mapBuffer() {
    if (!canMapBuffers()) return false;
    const std::uint32_t bytes = kQuadBytes * static_cast<std::uint32_t>(m_capacity);
    // The pool's buffers are never smaller than asked for.
    VertexBuffer* buffer = VertexBufferPool::acquire(bytes);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->name);
    void* mapped = glMapBufferRange(GL_ARRAY_BUFFER, 0, bytes,
                                    GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (!mapped) {
        VertexBufferPool::release(buffer);
        return false;
    }
    m_vertexBuffer = buffer;
    writeInto(static_cast<Quad*>(mapped));
    return true;
}

void QuadBatch::unmapBuffer() {
    glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer->name);
    // False when the driver lost the contents (a display mode change): that frame's quads
    // are not drawn right, and the next frame writes them again.
    if (glUnmapBuffer(GL_ARRAY_BUFFER) == GL_FALSE)
        LogHandler::log(LogHandler::Warning, "QuadBatch", "The driver lost a mapped vertex buffer's contents");
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    writeInto(nullptr);
}

void QuadBatch::setScreenProjection() {
    transformBlock.projection = screenOrtho(-1024.0f, 1024.0f);
    transformBlock.modelView = fpMatrix4::identity();
    transformBlock.projection.multiply(transformBlock.modelView, transformBlock.combined);
    transformBlock.changed = true;
}

void QuadBatch::flush(unsigned flags) {
    m_transformChanged = false;
    if (!writesOwnArray()) {
        // Written in place: only the writes end.
        unmapBuffer();
        if (m_count > 0) {
            closeRuns();
        } else {
            VertexBufferPool::release(m_vertexBuffer);
            m_vertexBuffer = nullptr;
        }
    } else if (m_count > 0) {
        closeRuns();
        const std::uint32_t bytes = kQuadBytes * static_cast<std::uint32_t>(m_count);
        m_vertexBuffer = VertexBufferPool::acquire(bytes);
        glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer->name);
        if (bytes <= m_vertexBuffer->size) {
            glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, m_quads.get());
        } else {
            glBufferData(GL_ARRAY_BUFFER, bytes, m_quads.get(), GL_DYNAMIC_DRAW);
            m_vertexBuffer->size = bytes;
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    drawRuns(flags);
}

void QuadBatch::setupDrawState() {
    setBlendMode(blendMode);
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
    }
    OGLTextureEffect& effect = *currentEffect;
    effect.setProjection(transformBlock.projection);
    effect.setModelView(transformBlock.modelView);
    effect.transformChanged = transformBlock.changed;
    effect.apply();
    glDisable(GL_CULL_FACE);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer->name);
    const int position = effect.positionLocation();
    const int color = effect.colorLocation();
    const int texCoord = effect.texCoordLocation();
    if (position != -1) {
        glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), byteOffset(0));
        glEnableVertexAttribArray(static_cast<GLuint>(position));
    }
    if (color != -1) {
        glVertexAttribPointer(static_cast<GLuint>(color), 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                              byteOffset(12));
        glEnableVertexAttribArray(static_cast<GLuint>(color));
    }
    if (texCoord != -1) {
        glVertexAttribPointer(static_cast<GLuint>(texCoord), 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), byteOffset(16));
        glEnableVertexAttribArray(static_cast<GLuint>(texCoord));
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
}

void QuadBatch::drawRuns(unsigned flags) {
    if (m_count > 0 && !(flags & FlushNoDraw)) {
        setupDrawState();
        OGLTextureEffect& effect = *currentEffect;
        const TextureRuns allRuns = runs();
        for (std::size_t i = 0; i + 1 < allRuns.size(); ++i) {
            const TextureRun& run = allRuns[i];
            effect.bindTexture(*run.texture);
            const int quads = allRuns[i + 1].firstQuad - run.firstQuad;
            if (quads > 0) {
                glDrawElements(GL_TRIANGLES, 6 * quads, GL_UNSIGNED_SHORT,
                               byteOffset(static_cast<std::uintptr_t>(run.firstQuad) * kQuadIndexBytes));
                PerfOverlay::countDrawCall(2 * quads);
            }
        }
        for (const int location : {effect.positionLocation(), effect.colorLocation(), effect.texCoordLocation()})
            if (location != -1) glDisableVertexAttribArray(static_cast<GLuint>(location));
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    if (!(flags & FlushKeep)) {
        if (m_vertexBuffer) {
            VertexBufferPool::release(m_vertexBuffer);
            m_vertexBuffer = nullptr;
        }
        discardQuads();
    }
}

} // namespace zor
