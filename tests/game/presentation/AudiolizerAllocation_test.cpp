// A warm Audiolizer step allocates nothing: this test program counts every operator new
// while the player's loops ramp, constant sounds follow the listener, a beam waits for its
// first simulation and queued cues play.

#include "tests/game/presentation/AudiolizerHarness.h"

#include "tests/support/allocations/CountingAllocator.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/system/surface/UpdateRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor::test {
namespace {

TEST(AudiolizerAllocation, AStepWithoutNewEntitiesOrMusicRequestsAllocatesNothingOnceWarm) {
    GameHarness harness(withAudiolizer());
    harness.runSteps(1);
    World& world = harness.world();
    ActorObject& player = *world.player();
    player.refilling = true;
    player.lampRefilling = true;
    player.chargedJumpActive = true;
    player.charge = 0.5f;
    std::vector<ActorObject*> stepped = {&player};
    for (float x : {-200.0f, 100.0f, 300.0f}) {
        ActorObject* crawler = world.spawnActorFacingRight("crawler", player.getPosition() + fpVector2(x, 0.0f));
        crawler->constantSound = "crawler_hum";
        stepped.push_back(crawler);
    }
    std::vector<std::int32_t> ids;
    for (ActorObject* actor : stepped) ids.push_back(actor->id());
    UpdateRecord record;
    record.stepLength = GameHarness::StepLength;
    presentation::Audiolizer& audiolizer = audiolizerOf(harness);
    const auto step = [&] {
        world.updatedObjects = ids;
        world.constantSoundIds.assign(ids.begin() + 1, ids.end());
        for (ActorObject* actor : stepped) actor->lastUpdateFrame = world.stepCounter;
        stepped[1]->pendingSounds.push_back("clank");
        world.soundRequests.push_back({"thud", player.getPosition(), 1.0f});
        audiolizer.update(record);
    };
    for (int i = 0; i < 10; ++i) step();
    Recordings& recorded = harness.recordings();
    recorded.cues.reserve(recorded.cues.size() + 1000);
    recorded.mixChanges.reserve(recorded.mixChanges.size() + 1000);
    recorded.pitchChanges.reserve(recorded.pitchChanges.size() + 1000);
    const std::size_t cuesBefore = recorded.cues.size();

    countedAllocations = 0;
    countingAllocations = true;
    for (int i = 0; i < 100; ++i) step();
    countingAllocations = false;
    EXPECT_EQ(countedAllocations.load(), 0);
    EXPECT_EQ(recorded.cues.size(), cuesBefore + 200) << "each step played its queued cue and its request";
    EXPECT_EQ(audiolizer.constantSounds().size(), 3u);
}

} // namespace
} // namespace zor::test
