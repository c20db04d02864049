#include "Framework/core/threads/WorkerFailure.h"

#include <atomic>
#include <mutex>

namespace zor {
namespace {

struct PendingFailure {
    std::mutex mutex;  // guards text
    std::string text;
    // Set after the text, under the mutex; read without it so the update step's
    // usual check costs one atomic load.
    std::atomic<bool> waiting{false};
};

PendingFailure& pendingFailure() {
    static PendingFailure failure;
    return failure;
}

} // namespace

void recordWorkerFailure(const std::string& text) {
    PendingFailure& failure = pendingFailure();
    std::lock_guard<std::mutex> lock(failure.mutex);
    if (!failure.waiting.load(std::memory_order_relaxed)) {
        failure.text = text;
        failure.waiting.store(true, std::memory_order_release);
    }
}

bool reportWorkerFailure(const std::function<void(const std::string&)>& handler) {
    PendingFailure& failure = pendingFailure();
    if (!failure.waiting.load(std::memory_order_acquire)) {
        return false;
    }
    std::string text;
    {
        std::lock_guard<std::mutex> lock(failure.mutex);
        if (!failure.waiting.load(std::memory_order_relaxed)) {
            return false;  // another caller took it
        }
        text = std::move(failure.text);
        failure.text.clear();
        failure.waiting.store(false, std::memory_order_relaxed);
    }
    // Outside the lock: the load-error handler throws.
    handler("Worker thread: " + text);
    return true;
}

} // namespace zor
