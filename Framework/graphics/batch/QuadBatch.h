#pragma once
// The quad batch: CommonBatch plus the GL side. The queued quads go into one pooled
// vertex buffer and each run of quads sharing a texture is one indexed draw through the
// current effect. Cycle: begin, drawing operations, flush(0). Main thread only.
//
// Where the driver can map buffers (glMapBufferRange), begin maps a pooled buffer with
// room for the whole capacity, invalidated and unsynchronised, and the quads are written
// once, straight into it; the pool keeps a drawn buffer back for a few frames
// (VertexBufferPool::MappedFramesBeforeReuse) so the GPU is done with it before it is
// written again. Without mapping, and for quads queued after a flush without a new begin,
// the quads are copied into a buffer at flush.

#include <cstdint>
#include <memory>

#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/effects/ColorTextureEffect.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/screen/BatchTransform.h"

namespace zor {

// Flags of QuadBatch::flush and QuadBatch::drawRuns.
enum QuadBatchFlushFlags : unsigned {
    FlushNoDraw = 1,  // upload (flush) but do not draw
    FlushKeep = 2,    // keep the uploaded quads for further drawRuns calls
};

class QuadBatch : public CommonBatch {
public:
    // Indices are 16-bit: at most this many quads.
    static constexpr int kMaxCapacity = 16384;

    explicit QuadBatch(int capacity);
    ~QuadBatch() override;

    // Before queuing a new set of quads: identity transform, blend mode 1, the default
    // effect, and no current texture, so the first quad always opens a run.
    void begin();
    // The current viewport's screen projection (near -1024, far 1024), identity model-view.
    void setScreenProjection();
    void flush(unsigned flags);
    // Draws the uploaded runs again; the last call leaves FlushKeep clear to empty the batch.
    void drawRuns(unsigned flags);

    BlendMode blendMode = 1;
    BatchTransform transformBlock;
    bool depthTest = false;
    // Used at the next flush; not owned. begin() sets the default effect.
    OGLTextureEffect* currentEffect = nullptr;

    ColorTextureEffect& defaultEffect() { return *m_defaultEffect; }
    const VertexBuffer* vertexBuffer() const { return m_vertexBuffer; }

private:
    void buildIndices();
    void setupDrawState();
    // Points the batch's writes into a mapped pool buffer; false leaves its own array.
    bool mapBuffer();
    // Ends the writes into the mapped buffer, which then holds the quads for drawing.
    void unmapBuffer();

    VertexBuffer* m_vertexBuffer = nullptr;
    unsigned m_indexBuffer = 0;
    std::uint32_t m_indexBufferSize = 0;
    std::unique_ptr<ColorTextureEffect> m_defaultEffect;
};

} // namespace zor
