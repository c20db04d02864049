#include "Framework/graphics/batch/VertexBufferPool.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/render/RenderThread.h"

#include <GL/glew.h>

#include <map>
#include <vector>

namespace zor::VertexBufferPool {

namespace {

// Equal sizes keep insertion order, so the buffer freed first is handed out first.
std::multimap<std::uint32_t, VertexBuffer*> g_free;
// Oldest first; the last list receives the buffers released during this frame.
std::vector<std::vector<VertexBuffer*>> g_frames;
DebugFlag* g_showStats = nullptr;

} // namespace

std::uint32_t newBufferSize(std::uint32_t request) {
    std::uint32_t x = request - 2;
    x |= x >> 1;
    x |= x >> 2;
    x |= x >> 4;
    x |= x >> 8;
    x |= x >> 16;
    return x + 2;
}

void init(std::size_t frames) {
    g_frames.resize(frames > 0 ? frames : 1);
    g_showStats = &declareDebugToggle(DebugToggle("vbpool", DebugToggle::Toggle, "perf"));
}

VertexBuffer* acquire(std::uint32_t size) {
    const auto found = g_free.lower_bound(size);
    if (found != g_free.end() && std::uint64_t{found->first} <= std::uint64_t{size} * 2) {
        VertexBuffer* buffer = found->second;
        g_free.erase(found);
        return buffer;
    }
    auto* buffer = new VertexBuffer;
    glGenBuffers(1, &buffer->name);
    buffer->size = newBufferSize(size);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->name);
    glBufferData(GL_ARRAY_BUFFER, buffer->size, nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

void release(VertexBuffer* buffer) {
    if (g_frames.empty()) g_frames.resize(1);
    g_frames.back().push_back(buffer);
}

void nextFrame() {
    if (!g_frames.empty()) {
        for (VertexBuffer* buffer : g_frames.front()) g_free.emplace(buffer->size, buffer);
        g_frames.front().clear();
        for (std::size_t i = 0; i + 1 < g_frames.size(); ++i) std::swap(g_frames[i], g_frames[i + 1]);
    }
    if (g_showStats && *g_showStats) drawStats();
}

void drawStats() {
    if (!DebugDraw::exists()) return;
    DebugDraw& debug = DebugDraw::instance();
    const std::array<std::string, 3> lines = statsLines();
    const float tops[3] = {100.0f, 115.0f, 130.0f};
    for (int i = 0; i < 3; ++i)
        debug.addMessage(fpRect(160.0f, tops[i], 1000.0f, 1000.0f), debug.screenLayer, lines[i], 0.0f,
                         colorWhite());
}

void shutdown() {
    // After a lost display the buffers are only forgotten.
    const auto destroy = [](VertexBuffer* buffer) {
        if (renderContextAlive()) glDeleteBuffers(1, &buffer->name);
        delete buffer;
    };
    for (auto& frame : g_frames) {
        for (VertexBuffer* buffer : frame) destroy(buffer);
        frame.clear();
    }
    for (auto& entry : g_free) destroy(entry.second);
    g_free.clear();
}

Stats stats() {
    Stats result;
    for (const auto& frame : g_frames) {
        result.waiting += frame.size();
        for (const VertexBuffer* buffer : frame) result.memory += buffer->size;
    }
    result.total = result.waiting + g_free.size();
    for (const auto& entry : g_free) result.memory += entry.second->size;
    return result;
}

std::array<std::string, 3> statsLines() {
    const Stats s = stats();
    return {"Total: " + std::to_string(s.total), "Waiting: " + std::to_string(s.waiting),
            "Memory: " + std::to_string(s.memory)};
}

} // namespace zor::VertexBufferPool
