#include "Framework/graphics/primitive/PrimitiveBatch.h"

#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/graphics/primitive/PrimitiveGeometry.h"
#include "Framework/graphics/screen/BatchTransform.h"

#include <GL/glew.h>

namespace zor {

namespace {

// Near and far planes of every 2-D batch.
constexpr float ScreenNear = -1024.0f;
constexpr float ScreenFar = 1024.0f;

bool opaque(const PrimitiveGeometry& geometry) {
    for (const PackedColor& color : geometry.colors)
        if (color.alpha() != 255) return false;
    return true;
}

} // namespace

PrimitiveBatch::PrimitiveBatch() : m_effect(std::make_unique<ColorEffect>()) {}

void PrimitiveBatch::flush() {
    if (!primitives.empty() && m_effect->usable()) {
        BatchTransform transform;
        transform.setScreen(modelView, ScreenNear, ScreenFar);
        m_effect->setProjection(transform.projection);
        m_effect->setModelView(transform.modelView);
        m_effect->transformChanged = transform.changed;
        m_effect->apply();
        // The arrays live in client memory; a buffer left bound by a quad batch would turn
        // the pointers into offsets into it.
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        const int position = m_effect->positionLocation();
        const int color = m_effect->colorLocation();
        PrimitiveGeometry geometry;
        BlendMode applied = -1;
        for (const Primitive& primitive : primitives) {
            if (!buildPrimitiveGeometry(primitive, geometry)) continue;
            // Opaque shapes under an over mode come out the same unblended, and unblended the
            // driver need not read back every pixel they cover.
            const BlendMode mode = overwritesWhenOpaque(blendMode) && opaque(geometry) ? 0 : blendMode;
            if (mode != applied) setBlendMode(mode);
            applied = mode;
            if (position != -1)
                glVertexAttribPointer(GLuint(position), 2, GL_FLOAT, GL_FALSE, 0, geometry.positions.data());
            if (color != -1)
                glVertexAttribPointer(GLuint(color), 4, GL_UNSIGNED_BYTE, GL_TRUE, 0, geometry.colors.data());
            glDrawArrays(geometry.mode, 0, GLsizei(geometry.positions.size()));
            PerfOverlay::countDrawCall(trianglesOf(geometry));
        }
    }
    primitives.clear();
    modelViewChanged = false;
}

} // namespace zor
