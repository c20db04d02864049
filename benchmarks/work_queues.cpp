// Job throughput of the two work queues: post a batch of small jobs and wait until the
// last has run.

#include "Framework/core/threads/WorkQueue.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace {

void ThreadedQueueBatch(benchmark::State& state) {
    zor::ThreadedWorkQueue queue;
    const auto jobs = state.range(0);
    std::atomic<long> done{0};
    for (auto _ : state) {
        done = 0;
        for (long i = 0; i < jobs; ++i) {
            queue.post([&done] { done.fetch_add(1, std::memory_order_relaxed); });
        }
        while (queue.hasPendingWork()) std::this_thread::yield();
    }
    benchmark::DoNotOptimize(done.load());
    state.SetItemsProcessed(state.iterations() * jobs);
}
BENCHMARK(ThreadedQueueBatch)->Arg(1)->Arg(64)->Arg(4096)->UseRealTime();

void PumpedQueueBatch(benchmark::State& state) {
    zor::PumpedWorkQueue queue;
    const auto jobs = state.range(0);
    long done = 0;
    for (auto _ : state) {
        for (long i = 0; i < jobs; ++i) queue.post([&done] { ++done; });
        queue.pump();
    }
    benchmark::DoNotOptimize(done);
    state.SetItemsProcessed(state.iterations() * jobs);
}
BENCHMARK(PumpedQueueBatch)->Arg(1)->Arg(64)->Arg(4096);

// Jobs posted from a worker and pumped on this thread: the road of a texture upload.
void PumpedQueueFedByAWorker(benchmark::State& state) {
    zor::PumpedWorkQueue pumped;
    zor::ThreadedWorkQueue worker;
    const auto jobs = state.range(0);
    long done = 0;
    for (auto _ : state) {
        worker.post([&] {
            for (long i = 0; i < jobs; ++i) pumped.post([&done] { ++done; });
        });
        while (worker.hasPendingWork()) std::this_thread::yield();
        pumped.pump();
    }
    benchmark::DoNotOptimize(done);
    state.SetItemsProcessed(state.iterations() * jobs);
}
BENCHMARK(PumpedQueueFedByAWorker)->Arg(64)->Arg(4096)->UseRealTime();

} // namespace
