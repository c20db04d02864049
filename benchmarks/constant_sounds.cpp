// The constant sounds' merge with 500 ids a step, against a plain merge of the same two
// sorted lists: each step 400 actors stay (their sounds follow the listener), 100 leave
// and 100 others come. The audio is silent, so the merge, the lookups and the mixing are
// what is measured. Compare "SyncConstantSounds" with "PlainMergeOfTheSameLists".

#include "game/presentation/AudiolizerConstantSounds.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "tests/support/game/GameHarness.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

using namespace zor;

constexpr int Kept = 400;
constexpr int Changing = 100;

class SilentAudio final : public GameAudio {
public:
    using GameAudio::GameAudio;
    void setVolumeAndPan(std::uint32_t, const ListenerMix&) override {}
    void setPitch(std::uint32_t, float) override {}
    void stop(std::uint32_t) override {}
    void stopAllSounds() override {}
    void playMusic(const std::string&, float) override {}
    void stopMusic(float) override {}
    void setMusicAttenuation(float) override {}

protected:
    std::uint32_t start(const CueStart&) override { return ++m_handles; }

private:
    std::uint32_t m_handles = 0;
};

// Two ascending lists of 500 ids each that share 400.
struct HummingCrowd {
    HummingCrowd() {
        World& world = harness.world();
        std::vector<std::int32_t> ids;
        for (int index = 0; index < Kept + 2 * Changing; ++index) {
            const fpVector2 at(40.0f + float(index % 40) * 18.0f, 100.0f + float(index / 40) * 4.0f);
            ActorObject* actor = world.spawnActorFacingRight("crawler", at);
            actor->constantSound = "crawler_hum";
            ids.push_back(actor->id());
        }
        first.assign(ids.begin(), ids.begin() + Kept + Changing);
        second.assign(ids.begin(), ids.begin() + Kept);
        second.insert(second.end(), ids.begin() + Kept + Changing, ids.end());
    }

    zor::test::GameHarness harness;
    std::vector<std::int32_t> first;
    std::vector<std::int32_t> second;
};

void SyncConstantSounds(benchmark::State& state) {
    HummingCrowd crowd;
    SilentAudio audio(crowd.harness.world());
    presentation::ConstantSounds sounds(crowd.harness.world(), audio);
    bool flip = false;
    for (auto _ : state) {
        sounds.sync(flip ? crowd.second : crowd.first);
        flip = !flip;
        benchmark::DoNotOptimize(sounds.tracked().data());
    }
    state.SetItemsProcessed(state.iterations() * (Kept + Changing));
}
BENCHMARK(SyncConstantSounds);

void PlainMergeOfTheSameLists(benchmark::State& state) {
    HummingCrowd crowd;
    std::vector<std::int32_t> previous = crowd.second;
    std::vector<std::int32_t> merged;
    merged.reserve(2 * previous.size());
    bool flip = false;
    for (auto _ : state) {
        const std::vector<std::int32_t>& next = flip ? crowd.second : crowd.first;
        merged.clear();
        std::set_union(previous.begin(), previous.end(), next.begin(), next.end(), std::back_inserter(merged));
        benchmark::DoNotOptimize(merged.data());
        previous = next;
        flip = !flip;
    }
    state.SetItemsProcessed(state.iterations() * (Kept + Changing));
}
BENCHMARK(PlainMergeOfTheSameLists);

} // namespace
