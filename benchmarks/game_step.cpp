// Whole game steps on the sample data, headless (the harness's recorders stand in for the
// presentation, quiet where they can be), with the game's own rules, movement, contacts,
// life and hit rules:
//   FullMine150Actors  one step of "mine1" with 150 of the mine's crawlers in the update
//                      area; counters "us_per_step" and "us_per_actor" (targets: under
//                      500 us and at most 3 us per actor);
//   TownPlay, MinePlay the scenario's lighter scenes: the player walking, jumping and
//                      (in the mine) digging under its buttons; WholeScriptedPlay the whole
//                      scripted round with its level changes, deaths and saves. Counter
//                      "sim_over_wall": simulated time over wall time (target: 200 or more).
// Run from the build folder (it reads "BundlePC").

#include <benchmark/benchmark.h>

#include "benchmarks/ActorsInView.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/LightObject.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"
#include "tests/support/game/ScriptedPlay.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using zor::test::GameHarness;

constexpr int ActorCount = 150;
// The recorders' lists are emptied this often, outside the timing.
constexpr int StepsBetweenClears = 600;

std::unique_ptr<GameHarness> sampleGame(const char* level) {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    zor::test::HarnessOptions options = zor::test::scriptedPlayOptions(1);
    options.startLevel = level;
    auto harness = std::make_unique<GameHarness>(options);
    harness->seams().playLifeRules = true;
    harness->seams().playHitRules = true;
    harness->seams().quiet = true;
    return harness;
}

void clearRecordings(GameHarness& harness) {
    zor::test::Recordings& recordings = harness.recordings();
    recordings.calls.clear();
    recordings.visualizerSteps.clear();
    recordings.audiolizerSteps.clear();
    recordings.userInterfaceSteps.clear();
    recordings.scriptSteps.clear();
    recordings.soundRequests.clear();
    recordings.cues.clear();
    recordings.musicAttenuations.clear();
}

// The recording presentation never plays an effect's animation to its end, so effects
// would pile up over a long run; a presentation ends them within a fraction of a second.
// Here they end at once, as after a one-step animation.
void endEffects(GameHarness& harness) {
    zor::World& world = harness.world();
    for (const auto& [id, effect] : world.effects()) {
        effect->finished = true;
        if (zor::LightObject* light = world.findLight(effect->lightId)) light->finished = true;
    }
}

// The actors other than the player that the last step updated.
std::size_t updatedActors(const zor::World& world) {
    std::size_t count = 0;
    for (const std::int32_t id : world.updatedObjects) {
        const zor::GameObject* object = world.findGameObject(id);
        if (object && object->kind() == zor::GameObjectKind::Actor && object != world.player()) ++count;
    }
    return count;
}

std::size_t livingActors(const zor::World& world) {
    std::size_t count = 0;
    for (const auto& [id, object] : world.gameObjects())
        if (object->kind() == zor::GameObjectKind::Actor && object->alive() && object != world.player()) ++count;
    return count;
}

void FullMine150Actors(benchmark::State& state) {
    std::unique_ptr<GameHarness> harness = sampleGame("mine1");
    harness->runSteps(60);
    zor::World& world = harness->world();
    // The crawlers would end the run with a game over.
    zor::ActorObject& player = *world.player();
    zor::bench::spawnActorsInView(harness->world(), "mire_crawler", ActorCount);
    harness->runSteps(30);
    double seconds = 0.0;
    double updated = 0.0;
    double actorUpdates = 0.0;
    std::int64_t steps = 0;
    for (auto _ : state) {
        player.hitPoints = player.definition().hitPoints;
        const auto start = std::chrono::steady_clock::now();
        harness->runSteps(1);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        updated += double(world.updatedObjects.size());
        actorUpdates += double(updatedActors(world));
        endEffects(*harness);
        if (++steps % StepsBetweenClears == 0) {
            state.PauseTiming();
            clearRecordings(*harness);
            state.ResumeTiming();
        }
    }
    state.counters["us_per_step"] = seconds * 1e6 / double(steps);
    // Per actor the step updated: crawlers the player's hits end no longer count.
    state.counters["us_per_actor"] = actorUpdates > 0.0 ? seconds * 1e6 / actorUpdates : 0.0;
    state.counters["updated"] = updated / double(steps);
    state.counters["actors_left"] = double(livingActors(world));
}

// Runs `play` one step per iteration and reports simulated over wall time.
template <class Play>
void measurePlay(benchmark::State& state, GameHarness& harness, Play play) {
    double seconds = 0.0;
    std::int64_t steps = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        play(steps);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        endEffects(harness);
        if (++steps % StepsBetweenClears == 0) {
            state.PauseTiming();
            clearRecordings(harness);
            state.ResumeTiming();
        }
    }
    state.counters["sim_over_wall"] = double(steps) * double(GameHarness::StepLength) / seconds;
    state.counters["us_per_step"] = seconds * 1e6 / double(steps);
}

// A button pattern of `period` steps: each button is held for its share of the period.
void walkPattern(GameHarness& harness, std::int64_t step, const std::vector<const char*>& buttons, int period) {
    const int phase = int(step % period);
    const int share = period / int(buttons.size());
    const std::string pressed = buttons[std::size_t(phase / share) % buttons.size()];
    if (phase % share == 0) {
        for (const char* button : buttons) harness.release(button);
        harness.press(pressed);
    }
    harness.runSteps(1);
}

void TownPlay(benchmark::State& state) {
    std::unique_ptr<GameHarness> harness = sampleGame("shalebury");
    harness->runSteps(60);
    measurePlay(state, *harness, [&](std::int64_t step) {
        walkPattern(*harness, step, {"move_right", "jump", "move_left", "jump"}, 240);
    });
}

void MinePlay(benchmark::State& state) {
    std::unique_ptr<GameHarness> harness = sampleGame("mine1");
    harness->runSteps(60);
    zor::ActorObject& player = *harness->world().player();
    harness->press("weapon_1");
    harness->runSteps(1);
    harness->release("weapon_1");
    measurePlay(state, *harness, [&](std::int64_t step) {
        player.hitPoints = player.definition().hitPoints;
        // Strikes every 20 steps while the direction buttons take turns.
        if (step % 20 == 0) harness->press("attack");
        if (step % 20 == 1) harness->release("attack");
        walkPattern(*harness, step, {"move_down", "move_right", "move_left", "jump"}, 480);
    });
}

void WholeScriptedPlay(benchmark::State& state) {
    std::unique_ptr<GameHarness> harness = sampleGame("shalebury");
    harness->seams().quiet = false;  // the play counts the saves in the calls
    zor::test::ScriptedPlay play(*harness);
    measurePlay(state, *harness, [&](std::int64_t) { play.run(1); });
    state.counters["level_changes"] = double(play.tally().levelChanges);
}

BENCHMARK(FullMine150Actors)->Unit(benchmark::kMicrosecond);
BENCHMARK(TownPlay)->Unit(benchmark::kMicrosecond);
BENCHMARK(MinePlay)->Unit(benchmark::kMicrosecond);
BENCHMARK(WholeScriptedPlay)->Unit(benchmark::kMicrosecond);

} // namespace
