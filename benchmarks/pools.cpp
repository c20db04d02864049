// Pooled allocation against the general heap: objects of one size made and freed in the
// patterns the game uses (short-lived churn, and a large batch made then dropped).

#include "Framework/core/memory/PooledObject.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Particle {
    float position[2];
    float velocity[2];
    float life;
    int kind;
    void* owner;
    float spare[2];
};

struct PooledParticle : zor::PooledObject, Particle {};
struct LockedParticle : zor::LockedPooledObject, Particle {};

template <class T>
void Churn(benchmark::State& state) {
    std::vector<T*> live(256, nullptr);
    std::size_t slot = 0;
    for (auto _ : state) {
        delete live[slot];
        live[slot] = new T;
        benchmark::DoNotOptimize(live[slot]);
        slot = (slot * 31 + 7) % live.size();
    }
    for (T* object : live) delete object;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_TEMPLATE(Churn, Particle);
BENCHMARK_TEMPLATE(Churn, PooledParticle);
BENCHMARK_TEMPLATE(Churn, LockedParticle);

template <class T>
void MakeThenDropBatch(benchmark::State& state) {
    std::vector<T*> objects(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        for (T*& object : objects) object = new T;
        benchmark::DoNotOptimize(objects.data());
        for (T* object : objects) delete object;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_TEMPLATE(MakeThenDropBatch, Particle)->Arg(10000);
BENCHMARK_TEMPLATE(MakeThenDropBatch, PooledParticle)->Arg(10000);
BENCHMARK_TEMPLATE(MakeThenDropBatch, LockedParticle)->Arg(10000);

} // namespace
