#include "Framework/graphics/render/RenderThread.h"

#include <atomic>
#include <thread>

namespace zor {

namespace {

std::atomic<std::thread::id> g_renderThread{};
std::atomic<bool> g_contextAlive{false};
std::atomic<IWorkQueue*> g_renderQueue{nullptr};

} // namespace

void markRenderThread() {
    g_renderThread = std::this_thread::get_id();
    g_contextAlive = true;
}

void setRenderQueue(IWorkQueue* queue) { g_renderQueue = queue; }

void markRenderContextLost() { g_contextAlive = false; }

bool isRenderThread() { return g_renderThread.load() == std::this_thread::get_id(); }

bool renderContextAlive() { return g_contextAlive; }

bool postToRenderThread(IWorkQueue::Job job) {
    IWorkQueue* queue = g_renderQueue;
    if (!queue) return false;
    queue->post(std::move(job));
    return true;
}

} // namespace zor
