// The Audiolizer in harness games, over the recording game audio: positional mixing, the
// one-shots and their silence, the player's loops, the area music, beam starts, the active
// area, the constant sounds' merge and the threads of a level build.

#include "tests/game/presentation/AudiolizerHarness.h"

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/FixtureLevels.h"

#include "game/definitions/BeamDefinition.h"
#include "game/definitions/EffectDefinition.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"

#include "Framework/system/surface/UpdateRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace zor::test {
namespace {

constexpr float ViewWidth = 640.0f;          // viewport 0 of the harness
constexpr float Range = 1.25f * ViewWidth;   // the default range

void addAudioDefinitions() {
    static const bool added = [] {
        addDefinitions(beamRegistry(), "audio_beams.xml",
                       "<Beam><Name>hum_ray</Name><Range>100</Range><OneShotSound>ray_start</OneShotSound>"
                       "<ConstantSound>ray_hum</ConstantSound></Beam>");
        addDefinitions(effectRegistry(), "audio_effects.xml", "<Effect><Name>chime_burst</Name><Sound>chime</Sound></Effect>");
        // Two bare rooms with the same music.
        for (const char* level : {"tune_a", "tune_b"})
            fixtureLevels()->addLevel(level, "<Music>deep_shaft</Music><Fillers><Spacing>0</Spacing><Foreground>ground"
                                             "</Foreground></Fillers><Slices><Slice><PatchSets>deep_room</PatchSets>"
                                             "</Slice></Slices>");
        return true;
    }();
    (void)added;
}

class AudiolizerTest : public ::testing::Test {
protected:
    AudiolizerTest() { harness.runSteps(1); }

    static GameHarness* makeHarness(const HarnessOptions& options) {
        addAudioDefinitions();
        return new GameHarness(options);
    }

    World& world() { return harness.world(); }
    ActorObject& player() { return *world().player(); }
    presentation::Audiolizer& audiolizer() { return audiolizerOf(harness); }
    Recordings& recorded() { return harness.recordings(); }
    GameAudio& audio() { return harness.game().audio(); }
    fpVector2 listener() { return player().center(); }

    // The object takes part in this step as the only one the simulation stepped.
    void stepped(GameObject& object) {
        object.lastUpdateFrame = world().stepCounter;
        world().updatedObjects = {object.id()};
    }
    // One more update of the Audiolizer in the step the harness ran last.
    void update(float step = GameHarness::StepLength) {
        UpdateRecord record;
        record.stepLength = step;
        audiolizer().update(record);
    }

    std::vector<CuePlay> cuesNamed(const std::string& cue) {
        std::vector<CuePlay> found;
        for (const CuePlay& play : recorded().cues)
            if (play.cue == cue) found.push_back(play);
        return found;
    }
    // The handle of the newest start of the cue, 0 for none.
    std::uint32_t handleOf(const std::string& cue) {
        const std::vector<CuePlay>& cues = recorded().cues;
        for (std::size_t index = cues.size(); index-- > 0;)
            if (cues[index].cue == cue) return std::uint32_t(index + 1);
        return 0;
    }
    bool stopped(std::uint32_t handle) {
        const std::vector<std::string> stops = recorded().callsStartingWith("GameAudio.stop " + std::to_string(handle));
        return std::find(stops.begin(), stops.end(), "GameAudio.stop " + std::to_string(handle)) != stops.end();
    }
    float lastPitch(std::uint32_t handle) {
        float pitch = -1.0f;
        for (const PitchChange& change : recorded().pitchChanges)
            if (change.handle == handle) pitch = change.pitch;
        return pitch;
    }

    // A copy of the player's definition with one weapon of these loops, installed.
    void armPlayer(const std::string& constant, const std::string& charging, float pitchTime) {
        auto definition = std::make_shared<ActorDefinition>(player().definition());
        definition->weapons.assign(1, ActorDefinition::Weapon());
        definition->weapons[0].constantAttackSound = constant;
        definition->weapons[0].chargingSound = charging;
        definition->weapons[0].pitchTime = pitchTime;
        player().installDefinition(definition);
        player().weaponIndex = 0;
    }
    ActorObject& humming(const fpVector2& position) {
        ActorObject* actor = world().spawnActorFacingRight("crawler", position);
        actor->constantSound = "crawler_hum";
        return *actor;
    }

    std::unique_ptr<GameHarness> owned{makeHarness(withAudiolizer())};
    GameHarness& harness = *owned;
};

// --- Listener volume and pan ---

TEST_F(AudiolizerTest, VolumeAndPanFollowTheDistanceAndSideFromTheListener) {
    struct Case {
        const char* name;
        fpVector2 offset;
        float range;
        float volume;
        float pan;
    };
    const Case cases[] = {
        {"at the listener", {0.0f, 0.0f}, 0.0f, 1.0f, 0.0f},
        {"straight above", {0.0f, -100.0f}, 0.0f, 1.0f - 0.8f * 100.0f / (0.5f * Range), 0.0f},
        {"straight below", {0.0f, 200.0f}, 0.0f, 1.0f - 0.8f * 200.0f / (0.5f * Range), 0.0f},
        {"a quarter width left", {-0.25f * ViewWidth, 0.0f}, 0.0f, 1.0f - 0.8f * 160.0f / (0.5f * Range), -1.0f},
        {"a quarter width right", {0.25f * ViewWidth, 0.0f}, 0.0f, 1.0f - 0.8f * 160.0f / (0.5f * Range), 1.0f},
        {"an eighth width right", {0.125f * ViewWidth, 0.0f}, 0.0f, 1.0f - 0.8f * 80.0f / (0.5f * Range), 0.5f},
        {"far to the left", {-400.0f, 0.0f}, 0.0f, 1.0f - 0.8f * 400.0f / (0.5f * Range), -1.0f},
        {"at 0.625 ranges", {0.625f * Range, 0.0f}, 0.0f, 0.0f, 1.0f},
        {"beyond the range", {0.0f, Range + 1.0f}, 0.0f, 0.0f, 0.0f},
        {"a range of its own", {0.0f, 25.0f}, 100.0f, 0.6f, 0.0f},
        {"past 0.625 of its own range", {70.0f, 0.0f}, 100.0f, 0.0f, 70.0f / 160.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ListenerMix mix = audio().mixAt(listener() + c.offset, c.range);
        EXPECT_NEAR(mix.volume, c.volume, 1e-5f);
        EXPECT_NEAR(mix.pan, c.pan, 1e-5f);
    }
}

TEST_F(AudiolizerTest, ASegmentIsHeardFromItsPointNearestTheListener) {
    const fpVector2 ear = listener();
    const ListenerMix along = audio().mixAlong(ear + fpVector2(-300.0f, 100.0f), ear + fpVector2(300.0f, 100.0f));
    const ListenerMix nearest = audio().mixAt(ear + fpVector2(0.0f, 100.0f));
    EXPECT_FLOAT_EQ(along.volume, nearest.volume);
    EXPECT_FLOAT_EQ(along.pan, 0.0f);
}

// --- One-shots and constant sounds at volume 0 ---

TEST_F(AudiolizerTest, SoundRequestsPlayWhereTheyHappenAndNotOutOfHearing) {
    world().soundRequests.push_back({"near_clank", listener() + fpVector2(80.0f, 0.0f), 1.5f});
    world().soundRequests.push_back({"far_clank", listener() + fpVector2(0.625f * Range, 0.0f), 1.0f});
    update();
    EXPECT_TRUE(world().soundRequests.empty());
    ASSERT_EQ(cuesNamed("near_clank").size(), 1u);
    const CuePlay near = cuesNamed("near_clank").front();
    EXPECT_FALSE(near.loop);
    EXPECT_FLOAT_EQ(near.pitch, 1.5f);
    EXPECT_FLOAT_EQ(near.mix.pan, 0.5f);
    EXPECT_TRUE(cuesNamed("far_clank").empty()) << "volume 0: not started";
}

TEST_F(AudiolizerTest, AConstantSoundStartsSilentAndBecomesAudibleAsTheListenerApproaches) {
    ActorObject& crawler = humming(listener() + fpVector2(0.7f * Range, 0.0f));
    world().constantSoundIds = {crawler.id()};
    update();
    ASSERT_EQ(cuesNamed("crawler_hum").size(), 1u);
    EXPECT_TRUE(cuesNamed("crawler_hum").front().loop);
    EXPECT_EQ(cuesNamed("crawler_hum").front().mix.volume, 0.0f) << "started silent";
    const std::uint32_t hum = handleOf("crawler_hum");

    crawler.setPosition(crawler.getPosition() - fpVector2(0.5f * Range, 0.0f));
    update();
    ASSERT_FALSE(recorded().mixChanges.empty());
    EXPECT_EQ(recorded().mixChanges.back().handle, hum);
    EXPECT_NEAR(recorded().mixChanges.back().mix.volume,
                audio().mixAt(crawler.center()).volume, 1e-6f);
    EXPECT_GT(recorded().mixChanges.back().mix.volume, 0.0f);
    EXPECT_EQ(cuesNamed("crawler_hum").size(), 1u) << "the loop goes on";
}

// --- The player's loops ---

TEST_F(AudiolizerTest, TheSoakPitchRisesFromOneAtAnEmptyTankToTwoAndAHalfAtAFullOne) {
    struct Case {
        float capacity;
        float water;
        float pitch;
    };
    const Case cases[] = {{5.0f, 0.0f, 1.0f}, {5.0f, 2.5f, 1.375f}, {5.0f, 5.0f, 2.5f}, {0.0f, 0.0f, 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.capacity << " " << c.water);
        auto definition = std::make_shared<ActorDefinition>(player().definition());
        definition->waterCapacity = c.capacity;
        player().installDefinition(definition);
        player().refilling = true;
        player().water = c.water;
        stepped(player());
        update();
        const std::uint32_t soak = handleOf("water_soak");
        ASSERT_NE(soak, 0u);
        EXPECT_FLOAT_EQ(lastPitch(soak), c.pitch);
        EXPECT_FALSE(std::isnan(lastPitch(soak)));

        player().refilling = false;
        update();
        EXPECT_TRUE(stopped(soak));
        ASSERT_FALSE(cuesNamed("water_soak_done").empty());
        EXPECT_FALSE(recorded().cues.back().position.has_value()) << "the done cue has no place";
        EXPECT_EQ(recorded().cues.back().cue, "water_soak_done");
    }
}

TEST_F(AudiolizerTest, TheJumpRampIsKeptAcrossAPauseAndResetWhenTheChargeEnds) {
    player().chargedJumpActive = true;
    player().charge = 0.5f;
    stepped(player());
    for (int step = 0; step < 3; ++step) update(0.25f);
    const std::uint32_t first = handleOf("player_jump_charge");
    EXPECT_FLOAT_EQ(lastPitch(first), 1.0f + 0.5f * 0.5f) << "the ramp after two steps";

    world().pauseStarted.fireNoArgs();
    EXPECT_TRUE(stopped(first));
    update(0.25f);
    const std::uint32_t again = handleOf("player_jump_charge");
    EXPECT_NE(again, first);
    EXPECT_FLOAT_EQ(lastPitch(again), 1.0f + 0.5f * 0.75f) << "the ramp went on";
    update(0.25f);
    update(0.25f);
    EXPECT_FLOAT_EQ(lastPitch(again), 1.0f + 0.5f * 1.0f) << "it stops rising at 1";

    player().charge = 0.0f;
    update(0.25f);
    EXPECT_TRUE(stopped(again));
    player().charge = 0.5f;
    update(0.25f);
    EXPECT_FLOAT_EQ(lastPitch(handleOf("player_jump_charge")), 1.0f) << "a new charge starts low";
}

TEST_F(AudiolizerTest, TheWeaponLoopsRaiseTheirPitchWithTheAttackPitchTimer) {
    armPlayer("beam_whine", "coil_charge", 1.0f);
    player().attacking = true;
    player().chargeTime = 0.1f;
    player().attackPitchTime = 1.0f;
    stepped(player());
    update(0.25f);
    const std::uint32_t constant = handleOf("beam_whine");
    const std::uint32_t charging = handleOf("coil_charge");
    ASSERT_NE(constant, 0u);
    ASSERT_NE(charging, 0u);
    // Both loops advance the one timer: the constant loop first, then the charging loop.
    EXPECT_FLOAT_EQ(lastPitch(constant), 1.0f);
    EXPECT_FLOAT_EQ(lastPitch(charging), 0.8f + 1.2f * 0.25f);
    EXPECT_FLOAT_EQ(player().attackPitchTimer, 0.5f);
    for (int step = 0; step < 3; ++step) update(0.25f);
    EXPECT_FLOAT_EQ(player().attackPitchTimer, 1.0f) << "capped at the length";
    EXPECT_FLOAT_EQ(lastPitch(charging), 0.8f + 1.2f * 1.0f);

    player().attacking = false;
    update(0.25f);
    EXPECT_TRUE(stopped(constant));
    EXPECT_FALSE(stopped(charging));
    EXPECT_FLOAT_EQ(player().attackPitchTimer, 0.25f) << "reset, then advanced by the charging loop";
    player().chargeTime = 0.0f;
    update(0.25f);
    EXPECT_TRUE(stopped(charging));
    EXPECT_EQ(player().attackPitchTime, 0.0f);
    EXPECT_EQ(player().attackPitchTimer, 0.0f);
}

TEST_F(AudiolizerTest, TheWeaponLoopWaitsWhileThePlayerDrawsFromAPoolThatHoldsWater) {
    armPlayer("beam_whine", "", 0.0f);
    ActorObject* trough = world().spawnActorFacingRight("trough", listener() + fpVector2(0.0f, 40.0f));
    ASSERT_NE(trough, nullptr);
    trough->water = 3.0f;
    player().waterSourceId = trough->id();
    player().attacking = true;
    stepped(player());
    update();
    EXPECT_TRUE(cuesNamed("beam_whine").empty());
    trough->water = 0.0f;
    update();
    EXPECT_EQ(cuesNamed("beam_whine").size(), 1u) << "an empty pool no longer holds it back";
}

TEST_F(AudiolizerTest, TheLampRefillLoopEndsWithItsDoneCueAtThePlayer) {
    player().lampRefilling = true;
    stepped(player());
    update();
    update();
    ASSERT_EQ(cuesNamed("light_refill").size(), 1u);
    EXPECT_TRUE(cuesNamed("light_refill").front().loop);
    player().lampRefilling = false;
    update();
    EXPECT_TRUE(stopped(handleOf("light_refill")));
    ASSERT_EQ(cuesNamed("light_refill_done").size(), 1u);
    EXPECT_EQ(cuesNamed("light_refill_done").front().position, player().getPosition());
    EXPECT_FALSE(cuesNamed("light_refill_done").front().loop);
}

// --- Area music ---

TEST_F(AudiolizerTest, LevelsWithTheSameMusicKeepTheTrackAndAScriptRequestRestartsTheFade) {
    const auto changeTo = [this](const char* level) {
        harness.simulator().requestLevel(level, "[start]", {});
        ASSERT_TRUE(harness.runUntilSettled(600));
    };
    changeTo("tune_a");
    EXPECT_EQ(recorded().callsStartingWith("GameAudio.playMusic"),
              std::vector<std::string>{"GameAudio.playMusic deep_shaft 0.4"});
    EXPECT_EQ(audiolizer().music(), "deep_shaft");
    changeTo("tune_b");
    EXPECT_EQ(recorded().callsStartingWith("GameAudio.playMusic").size(), 1u) << "the track plays on";

    world().pendingMusic = {true, "deep_shaft"};
    harness.runSteps(1);
    EXPECT_EQ(recorded().callsStartingWith("GameAudio.playMusic").size(), 2u) << "a script restarts it";
    EXPECT_FALSE(world().pendingMusic.pending);
    EXPECT_TRUE(world().pendingMusic.track.empty());

    world().pendingMusic = {true, ""};
    harness.runSteps(1);
    EXPECT_EQ(recorded().callsStartingWith("GameAudio.stopMusic"), std::vector<std::string>{"GameAudio.stopMusic 0.4"});
    EXPECT_EQ(audiolizer().music(), "");

    changeTo("tune_a");
    EXPECT_EQ(recorded().callsStartingWith("GameAudio.playMusic").size(), 3u) << "silence, then the level's music";
    world().gameOver.fireNoArgs();
    EXPECT_EQ(recorded().callsStartingWith("GameAudio.stopMusic").size(), 2u);
    EXPECT_EQ(audiolizer().music(), "");
    changeTo("tune_b");
    EXPECT_EQ(recorded().callsStartingWith("GameAudio.playMusic").size(), 4u) << "after a game over it starts again";
}

// --- Beam starts ---

TEST_F(AudiolizerTest, ABeamPlaysItsStartCueAfterItsFirstSimulationAndNeverWhenRemovedBefore) {
    const BeamDefinition& definition = beamRegistry().get("hum_ray");
    auto* waiting = new Beam(definition);
    auto* gone = new Beam(definition);
    auto* far = new Beam(definition);
    for (Beam* beam : {waiting, gone, far}) world().registerEntity(beam);
    waiting->setPosition(listener());
    far->setPosition(listener() + fpVector2(2.0f * Range, 0.0f));
    world().removeEntity(gone);
    far->updatePending = false;
    update();
    ASSERT_EQ(cuesNamed("ray_start").size(), 1u) << "only the simulated beam";
    EXPECT_EQ(cuesNamed("ray_start").front().mix.volume, 0.0f) << "played also when silent";
    EXPECT_EQ(audiolizer().pendingBeamStarts(), std::vector<std::int32_t>{waiting->id()});

    update();
    EXPECT_EQ(cuesNamed("ray_start").size(), 1u) << "a beam not yet simulated waits";
    waiting->updatePending = false;
    update();
    ASSERT_EQ(cuesNamed("ray_start").size(), 2u);
    EXPECT_FLOAT_EQ(cuesNamed("ray_start").back().mix.volume, 1.0f);
    EXPECT_TRUE(audiolizer().pendingBeamStarts().empty());
}

// --- The active area ---

TEST_F(AudiolizerTest, ObjectsOutsideTheActiveAreaKeepTheirQueuedCues) {
    ActorObject* crawler = world().spawnActorFacingRight("crawler", listener() + fpVector2(100.0f, 0.0f));
    auto definition = std::make_shared<ActorDefinition>(crawler->definition());
    definition->walkSound = "crawler_step";
    crawler->installDefinition(definition);
    crawler->pendingSounds = {"clank", "clonk"};
    crawler->footstepRequest = true;
    crawler->lastUpdateFrame = world().stepCounter - 1;
    world().updatedObjects = {crawler->id()};
    update();
    EXPECT_TRUE(cuesNamed("clank").empty());
    EXPECT_EQ(crawler->pendingSounds.size(), 2u);
    EXPECT_TRUE(crawler->footstepRequest);

    stepped(*crawler);
    update();
    ASSERT_GE(recorded().cues.size(), 3u);
    const std::vector<CuePlay>& cues = recorded().cues;
    EXPECT_EQ(cues[cues.size() - 3].cue, "crawler_step");
    EXPECT_EQ(cues[cues.size() - 2].cue, "clank");
    EXPECT_EQ(cues[cues.size() - 1].cue, "clonk");
    EXPECT_EQ(cues.back().position, crawler->getPosition());
    EXPECT_TRUE(crawler->pendingSounds.empty());
    EXPECT_FALSE(crawler->footstepRequest);
}

// --- Constant sounds' merge ---

TEST_F(AudiolizerTest, ConstantSoundsMergeStoppedKeptAndStartedOverASequenceOfLists) {
    ActorObject& a = humming(listener() + fpVector2(50.0f, 0.0f));
    ActorObject& b = humming(listener() + fpVector2(-50.0f, 0.0f));
    ActorObject& c = humming(listener() + fpVector2(0.0f, 60.0f));
    ActorObject& quiet = humming(listener());
    quiet.constantSound.clear();
    auto* ray = new Beam(beamRegistry().get("hum_ray"));
    world().registerEntity(ray);
    ray->setPosition(listener());
    ray->fading = true;
    ray->fadeTimer = 0.5f * ray->fadeTime;
    const std::int32_t unknown = Entity::lastIssuedId() + 1000;

    std::vector<std::int32_t> sequence1 = {a.id(), b.id(), quiet.id(), ray->id()};
    std::sort(sequence1.begin(), sequence1.end());
    world().constantSoundIds = sequence1;
    update();
    ASSERT_EQ(cuesNamed("crawler_hum").size(), 2u);
    ASSERT_EQ(cuesNamed("ray_hum").size(), 1u);
    EXPECT_NEAR(cuesNamed("ray_hum").front().mix.volume, 0.5f, 1e-5f) << "times the fade";
    ASSERT_EQ(audiolizer().constantSounds().size(), 4u);
    EXPECT_EQ(audiolizer().constantSounds()[2].id, quiet.id());
    EXPECT_EQ(audiolizer().constantSounds()[2].handle, 0u) << "tracked without a sound";

    const std::uint32_t handleA = audiolizer().constantSounds()[0].handle;
    const std::uint32_t handleB = audiolizer().constantSounds()[1].handle;
    b.setPosition(b.getPosition() + fpVector2(-50.0f, 0.0f));
    recorded().mixChanges.clear();
    world().constantSoundIds = {b.id(), b.id(), c.id(), unknown};
    update();
    EXPECT_TRUE(stopped(handleA));
    EXPECT_FALSE(stopped(handleB));
    ASSERT_EQ(recorded().mixChanges.size(), 1u) << "the kept one follows the listener";
    EXPECT_EQ(recorded().mixChanges.front().handle, handleB);
    EXPECT_NEAR(recorded().mixChanges.front().mix.pan, -100.0f / 160.0f, 1e-5f);
    ASSERT_EQ(audiolizer().constantSounds().size(), 3u);
    EXPECT_EQ(audiolizer().constantSounds()[0].id, b.id());
    EXPECT_EQ(audiolizer().constantSounds()[1].id, c.id());
    EXPECT_EQ(audiolizer().constantSounds()[2].handle, 0u) << "an unknown id gives no sound";
    EXPECT_EQ(cuesNamed("crawler_hum").size(), 3u);
    EXPECT_TRUE(stopped(handleOf("ray_hum")));

    const std::uint32_t handleC = audiolizer().constantSounds()[1].handle;
    world().constantSoundIds.clear();
    update();
    EXPECT_TRUE(stopped(handleB));
    EXPECT_TRUE(stopped(handleC));
    EXPECT_TRUE(audiolizer().constantSounds().empty());
}

TEST_F(AudiolizerTest, LeavingTheGameStopsTheLoopsAndConstantSounds) {
    player().lampRefilling = true;
    ActorObject& crawler = humming(listener());
    world().constantSoundIds = {crawler.id()};
    stepped(player());
    update();
    const std::uint32_t lamp = handleOf("light_refill");
    const std::uint32_t hum = handleOf("crawler_hum");
    world().leavingGame.fireNoArgs();
    EXPECT_TRUE(stopped(lamp));
    EXPECT_TRUE(stopped(hum));
    EXPECT_TRUE(audiolizer().constantSounds().empty());
}

TEST(AudiolizerDemo, AfterADemoRestartTheOldLoopsAreStoppedAndTheNewGameIsHeard) {
    addAudioDefinitions();
    GameHarness harness(withAudiolizer());
    harness.runSteps(30);
    harness.world().restartRequested.fireNoArgs();
    harness.runSteps(30);
    ASSERT_TRUE(harness.world().demo);
    EXPECT_EQ(harness.recordings().callsStartingWith("GameAudio.stopAllSounds").size(), 1u);
    World& world = harness.world();
    world.spawnEffect("chime_burst", world.player()->getPosition(), 0.0f, 1.0f);
    ASSERT_FALSE(harness.recordings().cues.empty());
    EXPECT_EQ(harness.recordings().cues.back().cue, "chime");
}

// --- Threads ---

TEST(AudiolizerThreads, ALevelBuildOnTheWorkerPlaysNothingFromTheWorker) {
    addAudioDefinitions();
    HarnessOptions options = withAudiolizer();
    options.workerThread = true;
    GameHarness harness(options);
    World& world = harness.world();
    // While the level is built the new level's effects appear on the worker.
    EventConnection built = world.levelStarted.connect(&world, [](World* built) {
        built->spawnEffect("chime_burst", built->player() ? built->player()->getPosition() : fpVector2(), 0.0f, 1.0f);
    });
    harness.simulator().requestLevel("fixture_deep", "[start]", {});
    // Steps pass while the worker builds, however long it takes.
    ASSERT_TRUE(harness.runUntilSettled(1000000));
    harness.runSteps(2);
    world.spawnEffect("chime_burst", world.player()->getPosition(), 0.0f, 1.0f);

    const std::thread::id mainThread = std::this_thread::get_id();
    int chimes = 0;
    for (const auto& [call, thread] : harness.recordings().callThreads) {
        EXPECT_EQ(thread, mainThread) << call;
        chimes += call == "GameAudio.playCue chime" ? 1 : 0;
    }
    EXPECT_EQ(chimes, 1) << "the effect of play sounds, the one of the build does not";
}

} // namespace
} // namespace zor::test
