// The sound ports take what each step asked to be played, whether they play it or not: with
// nothing taking them, the World's requests and the objects' pending sounds would grow for
// the whole game.

#include "game/simulation/ports/NullPorts.h"
#include "game/world/World.h"

#include "Framework/system/surface/UpdateRecord.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::GameHarness;

void askForSounds(World& world) {
    world.soundRequests.push_back({"game_over", fpVector2(1, 2), 1.0f});
    world.player()->pendingSounds.emplace_back("found_secret");
}

bool soundsLeft(World& world) {
    if (!world.soundRequests.empty()) return true;
    for (const auto& [id, object] : world.gameObjects())
        if (!object->pendingSounds.empty()) return true;
    return false;
}

TEST(StepSounds, TheRecordingPortTakesAndRecordsBothListsEveryStep) {
    GameHarness harness;
    harness.runSteps(1);
    const std::size_t requests = harness.recordings().soundRequests.size();
    askForSounds(harness.world());
    harness.runSteps(1);
    EXPECT_FALSE(soundsLeft(harness.world()));
    ASSERT_EQ(harness.recordings().soundRequests.size(), requests + 1);
    EXPECT_EQ(harness.recordings().soundRequests.back().cue, "game_over");
    ASSERT_FALSE(harness.recordings().objectSounds.empty());
    EXPECT_EQ(harness.recordings().objectSounds.back(), "found_secret");
}

TEST(StepSounds, TheNullPortDropsBothListsEveryStep) {
    GameHarness harness;
    NullAudiolizer silent(harness.world());
    askForSounds(harness.world());
    silent.update(UpdateRecord());
    EXPECT_FALSE(soundsLeft(harness.world()));
}

} // namespace
} // namespace zor
