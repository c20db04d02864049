#pragma once
// Recycled GL array buffers for the quad batches' vertex uploads. A buffer a batch has
// drawn from waits until the next frame starts before it can be handed out again, so the
// driver never has to synchronise on a buffer the GPU may still read; then it returns to a
// free list sorted by size. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zor {

// Heap record of one pooled buffer: held by a batch while in use, by the pool otherwise.
struct VertexBuffer {
    std::uint32_t name = 0;  // GL buffer name
    std::uint32_t size = 0;  // bytes allocated in GL
};

namespace VertexBufferPool {

// Size of a new buffer for a request of n bytes: one byte above the smallest power of two
// that is at least n - 1 (32-bit arithmetic), so 96 gives 129 and 129 stays 129.
std::uint32_t newBufferSize(std::uint32_t request);

// Frames a buffer waits after a batch drew from it when batches write into mapped buffers
// without synchronising: by then the GPU has finished reading it.
constexpr std::size_t MappedFramesBeforeReuse = 3;

// Start-up, before the first frame: `frames` frame lists (a released buffer waits that
// many nextFrame calls); declares "perf"/"vbpool".
void init(std::size_t frames = 1);
// A buffer of at least `size` bytes with undefined contents: a free one of at most twice
// the request when there is one, else a new one of newBufferSize(size) bytes.
VertexBuffer* acquire(std::uint32_t size);
// The caller is done with the buffer; it waits for the next frame.
void release(VertexBuffer* buffer);
// Once per frame before the first draw: waiting buffers become free; with the debug
// flag "perf"/"vbpool" set, the statistics are drawn.
void nextFrame();
// Queues the three statistics lines into the debug drawing's screen layer for one frame.
void drawStats();
// After the main loop, while the GL context lives: deletes every buffer the pool holds.
void shutdown();

struct Stats {
    std::uint64_t total = 0;    // waiting plus free buffers
    std::uint64_t waiting = 0;  // handed back this frame
    std::uint64_t memory = 0;   // bytes of all of them
};
Stats stats();
// The three lines the statistics display shows ("Total: ", "Waiting: ", "Memory: ").
std::array<std::string, 3> statsLines();

} // namespace VertexBufferPool

} // namespace zor
