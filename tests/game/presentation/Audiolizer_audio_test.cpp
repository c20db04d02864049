// The Audiolizer over the engine's sound service on openal-soft's null output: a game left
// while its loops play leaves no effect source playing for the menus.

#include "tests/game/presentation/AudiolizerHarness.h"

#include "game/simulation/audio/AudioHandlerGameAudio.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/audio/AudioHandler.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/io/Files.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace zor::test {
namespace {

class SoundPorts final : public ForwardingPorts {
public:
    using ForwardingPorts::ForwardingPorts;

    std::shared_ptr<GameAudio> makeGameAudio(World& world) const override {
        return std::make_shared<AudioHandlerGameAudio>(world);
    }
    std::shared_ptr<Audiolizer> makeAudiolizer(World& world, GameAudio& audio) const override {
        return std::make_shared<presentation::Audiolizer>(world, audio);
    }
};

int playingSources(const AudioHandler& handler) {
    int playing = 0;
    for (const AudioSource& source : handler.sources()) {
        ALint state = AL_STOPPED;
        alGetSourcei(source.source, AL_SOURCE_STATE, &state);
        playing += state == AL_PLAYING ? 1 : 0;
    }
    return playing;
}

TEST(AudiolizerSound, AfterQuittingAGameWhoseLoopsPlayNoEffectSourcePlaysInTheMenus) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    // The sample data's sound list and effects.
    initFileSystem("BundlePC");
    SystemEvents events;
    AudioHandler handler;
    handler.init();

    HarnessOptions options;
    options.ports = [](std::shared_ptr<const GamePorts> recorders) {
        return std::make_shared<SoundPorts>(std::move(recorders));
    };
    auto harness = std::make_unique<GameHarness>(options);
    harness->runSteps(1);
    World& world = harness->world();
    ActorObject& player = *world.player();
    ActorObject* hummer = world.spawnActorFacingRight("crawler", player.getPosition() + fpVector2(60.0f, 0.0f));
    hummer->constantSound = "arc_hum";
    player.lampRefilling = true;
    player.lastUpdateFrame = world.stepCounter;
    world.updatedObjects = {player.id()};
    world.constantSoundIds = {hummer->id()};
    UpdateRecord record;
    record.stepLength = GameHarness::StepLength;
    audiolizerOf(*harness).update(record);
    ASSERT_EQ(playingSources(handler), 2) << "the lamp refill and the hum";

    // A quit through a script: no pause first.
    world.quitRequested.fireNoArgs();
    ASSERT_TRUE(harness->runUntil([&] { return harness->left(); }, 2.0f));
    EXPECT_EQ(playingSources(handler), 0);
    harness.reset();
    EXPECT_EQ(playingSources(handler), 0) << "the Game is gone, nothing plays on";
}

} // namespace
} // namespace zor::test
