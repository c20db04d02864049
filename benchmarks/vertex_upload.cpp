// The vertex upload of one full 2048-quad batch under the OpenGL driver at hand (Mesa's
// software renderer on a virtual X server when there is no GPU): the quads written into
// the batch's own array and copied with glBufferSubData, as the batch does, against the
// quads written once, straight into a buffer mapped with glMapBufferRange (invalidated,
// unsynchronised). Buffers come from the vertex-buffer pool, which holds a released buffer
// back for as many frames as in the game; the rows with "Drawn" also draw each batch, so
// the driver holds the buffers as in the game. Needs a display.
#include "Framework/graphics/batch/QuadWriter.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/batch/VertexBufferPool.h"

#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kQuads = 2048;
constexpr std::uint32_t kBytes = kQuads * sizeof(zor::Quad);

// A hidden window with an OpenGL 2.1 context, made once for the program.
bool glReady() {
    static const bool ready = [] {
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_Window* window = SDL_CreateWindow("upload", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window || !SDL_GL_CreateContext(window)) return false;
        if (glewInit() != GLEW_OK) return false;
        std::printf("OpenGL renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        zor::VertexBufferPool::init(zor::VertexBufferPool::MappedFramesBeforeReuse);
        return true;
    }();
    return ready;
}

// The quads of a frame, written as the batch's placement path writes them.
void writeQuads(zor::Quad* out, float shift) {
    const zor::fpRect source(16, 16, 32, 32);
    const zor::fpVector2 pivot(16, 16);
    const zor::quadwriter::Float4 reciprocals{1 / 256.0f, 1 / 256.0f, 1 / 256.0f, 1 / 256.0f};
    for (int i = 0; i < kQuads; ++i) {
        const zor::Affine2D placement =
            zor::makeAffine2D(float(i % 64) * 10.0f + shift, float(i / 64) * 10.0f, 0.0f, 1.0f, 1.0f, 0.0f);
        const zor::quadwriter::Corners corners =
            zor::quadwriter::place(zor::quadwriter::localCorners(source, pivot), zor::quadwriter::lanesOf(placement));
        zor::quadwriter::write(out[i], corners, zor::PackedColor(0xFFFFFFFFu),
                               zor::quadwriter::texCoords(source, reciprocals, false, false));
    }
}

void drawFrom(const zor::VertexBuffer& buffer) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer.name);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(zor::Vertex), nullptr);
    glDrawArrays(GL_POINTS, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// The batch is done with the buffer: drawn from (or not), handed back, a frame ends.
void endFrame(zor::VertexBuffer* buffer, bool drawn) {
    if (drawn) drawFrom(*buffer);
    zor::VertexBufferPool::release(buffer);
    zor::VertexBufferPool::nextFrame();
}

// Pool buffers are never smaller than asked for.
void uploadByCopy(benchmark::State& state, bool drawn) {
    if (!glReady()) return state.SkipWithError("no OpenGL context (no display?)");
    std::vector<zor::Quad> quads(kQuads);
    float shift = 0.0f;
    for (auto _ : state) {
        writeQuads(quads.data(), shift += 1.0f);
        zor::VertexBuffer* buffer = zor::VertexBufferPool::acquire(kBytes);
        glBindBuffer(GL_ARRAY_BUFFER, buffer->name);
        glBufferSubData(GL_ARRAY_BUFFER, 0, kBytes, quads.data());
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        endFrame(buffer, drawn);
    }
    glFinish();
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void uploadByMapping(benchmark::State& state, bool drawn) {
    if (!glReady()) return state.SkipWithError("no OpenGL context (no display?)");
    if (!GLEW_ARB_map_buffer_range && !GLEW_VERSION_3_0) return state.SkipWithError("no glMapBufferRange");
    float shift = 0.0f;
    for (auto _ : state) {
        zor::VertexBuffer* buffer = zor::VertexBufferPool::acquire(kBytes);
        glBindBuffer(GL_ARRAY_BUFFER, buffer->name);
        void* mapped = glMapBufferRange(GL_ARRAY_BUFFER, 0, kBytes,
                                        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
        writeQuads(static_cast<zor::Quad*>(mapped), shift += 1.0f);
        glUnmapBuffer(GL_ARRAY_BUFFER);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        endFrame(buffer, drawn);
    }
    glFinish();
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void BM_UploadByCopy(benchmark::State& state) { uploadByCopy(state, false); }
void BM_UploadByMapping(benchmark::State& state) { uploadByMapping(state, false); }
void BM_UploadByCopyDrawn(benchmark::State& state) { uploadByCopy(state, true); }
void BM_UploadByMappingDrawn(benchmark::State& state) { uploadByMapping(state, true); }

} // namespace

BENCHMARK(BM_UploadByCopy);
BENCHMARK(BM_UploadByMapping);
BENCHMARK(BM_UploadByCopyDrawn);
BENCHMARK(BM_UploadByMappingDrawn);
