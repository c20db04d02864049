#pragma once
// The part of a quad batch that never touches OpenGL: quad storage, texture runs and the
// corner maths. Every quad's corners are transformed here, on the CPU, so a whole batch
// costs one upload and one draw call per run of quads sharing a GL texture.

#include <cstdint>
#include <memory>
#include <vector>

#include "Framework/graphics/batch/ITextureBatch.h"

namespace zor {

// The GL vertex layout: 24 bytes.
struct Vertex {
    float x, y, z;
    PackedColor color;  // bytes red, green, blue, alpha
    float u, v;
};
static_assert(sizeof(Vertex) == 24, "the vertex layout is fixed");

// Corners 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right; drawn as the
// triangles (0, 1, 2) and (3, 2, 1).
struct Quad {
    Vertex vertices[4];
};
static_assert(sizeof(Quad) == 96, "the quad layout is fixed");

// Quads from firstQuad up to the next run's first quad share the texture. The texture is
// not owned.
struct TextureRun {
    int firstQuad;
    const Texture* texture;
};

struct DrawCommand {
    fpMatrix4 transform;
    fpRect source;
    fpVector2 pivot;
    const Texture* texture = nullptr;
    PackedColor color;
    unsigned flags = 0;
};

class CommonBatch : public ITextureBatch {
public:
    CommonBatch(int capacity, float depth);
    ~CommonBatch() override;
    CommonBatch(const CommonBatch&) = delete;
    CommonBatch& operator=(const CommonBatch&) = delete;

    void drawMatrix(const Texture& texture, const fpMatrix4& transform, const fpRect& source,
                    const PackedColor& color, const std::uint32_t& reserved, const fpVector2& pivot,
                    unsigned flags) override;
    void drawRegion(const Texture& texture, const fpVector2& position, const fpRect& source,
                    const PackedColor& color, const std::uint32_t& reserved, float rotation, const fpVector2& pivot,
                    const fpVector2& scale, unsigned flags, float depth) override;
    void drawTexture(const Texture& texture, const fpVector2& position, const PackedColor& color,
                     const std::uint32_t& reserved, float rotation, const fpVector2& pivot, const fpVector2& scale,
                     unsigned flags, float depth) override;
    void drawAt(const Texture& texture, const fpVector2& position, const PackedColor& color) override;
    void drawRotated(const Texture& texture, const fpVector2& position, float rotation) override;
    void drawWhite(const Texture& texture, const fpVector2& position) override;

    // Transforms the command's rectangle by transform x command.transform and queues it.
    void addDrawCommand(const DrawCommand& command);
    // Queues an untransformed rectangle (x, y, w, h) at the given depth.
    void addTexturedRect(const Texture& texture, const fpRect& destination, const fpRect& source,
                         const PackedColor& color, float depth);
    // Queues four ready-made vertices. Opens no run: the quad joins the texture last opened.
    void addQuad(const Quad& quad);
    // Forgets the queued quads and their runs; the current texture stays.
    void discardQuads();

    int count() const { return m_count; }
    int capacity() const { return m_capacity; }
    const Quad* quads() const { return m_quads.get(); }
    const std::vector<TextureRun>& runs() const { return m_runs; }
    // Quads that did not fit since the batch was made; they are not drawn.
    std::uint64_t droppedQuads() const { return m_dropped; }

    // Applied to every quad queued afterwards; identity at construction.
    fpMatrix4 transform;
    // The z of the drawing forms that take no depth.
    float depth;

protected:
    // The slot for one more quad, opening a run when the texture's GL name differs from
    // the current one. A full batch hands out its spare slot and counts the quad dropped.
    Quad& nextQuad(const Texture& texture);
    void setTexture(const Texture& texture);

    std::unique_ptr<Quad[]> m_quads;  // capacity + 1: the last is the spare slot
    int m_count = 0;
    int m_capacity;
    std::vector<TextureRun> m_runs;
    unsigned m_currentTexture = 0;
    bool m_transformChanged = false;

private:
    void countDropped();

    std::uint64_t m_dropped = 0;
};

} // namespace zor
