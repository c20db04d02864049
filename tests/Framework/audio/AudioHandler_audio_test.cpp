#include "Framework/audio/AudioHandler.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <AL/al.h>
#include <gtest/gtest.h>

#include "Framework/core/debug/DebugFlags.h"
#include "tests/Framework/audio/AudioTestSupport.h"
#include "tests/Framework/audio/SoundTestData.h"

namespace zor {
namespace {

std::string group(const std::string& name, int size, bool interruptible) {
    return "<Group><Name>" + name + "</Name><MaxSimultaneousSounds>" + std::to_string(size) +
           "</MaxSimultaneousSounds><SoundsAreInterruptible>" + (interruptible ? "true" : "false") +
           "</SoundsAreInterruptible></Group>";
}

std::string sample(const std::string& file, const std::string& volume, const std::string& pitch = "1",
                   const std::string& weight = "1") {
    return "<Sample><File>" + file + "</File><Volume>" + volume + "</Volume><Pitch>" + pitch +
           "</Pitch><PlaybackChanceWeight>" + weight + "</PlaybackChanceWeight></Sample>";
}

std::string cue(const std::string& name, const std::string& groupName, const std::string& samples,
                const std::string& method = "random") {
    return "<Cue><Name>" + name + "</Name><AudioSourceGroup>" + groupName + "</AudioSourceGroup><SampleSelectionMethod>" +
           method + "</SampleSelectionMethod><Samples>" + samples + "</Samples></Cue>";
}

std::uint32_t indexOf(std::uint32_t handle) { return handle & 0xFFFFu; }

class AudioHandlerTest : public test::AudioTest {
protected:
    // Groups: "lead" (1 source, so later groups do not start at 0), "four", "pair",
    // "fixedPair" (not interruptible), "solo". Long sounds keep their sources busy.
    void SetUp() override {
        addSound("long", test::toneWav(440.0, 4.0));
        addSound("blip", test::toneWav(880.0, 0.05));
        for (const char* name : {"one", "two", "three"}) {
            addSound(name, test::toneWav(660.0, 4.0));
        }
        addSound("broken", "RIFF....WAVEjunk");
        m_gameData.write("Audio/Sounds/unlisted.wav", test::toneWav(440.0, 0.1));
        setSoundList("<SoundList><AudioSourceGroups>" + group("lead", 1, true) + group("four", 4, true) +
                     group("pair", 2, true) + group("fixedPair", 2, false) + group("solo", 1, true) +
                     "</AudioSourceGroups><AudioCues>" + cue("four", "four", sample("long", "1")) +
                     cue("pair", "pair", sample("long", "1")) + cue("fixedPair", "fixedPair", sample("long", "1")) +
                     cue("solo", "solo", sample("long", "1")) +
                     cue("trio", "four", sample("one", "0.1") + sample("two", "0.2") + sample("three", "0.3"), "shuffle") +
                     cue("weighted", "four", sample("one", "0.1", "1", "0") + sample("two", "0.2", "1", "1000")) +
                     cue("ranged", "solo", sample("long", "0.5-1.0", "0.8")) +
                     cue("exact", "solo", sample("blip", "0.8", "1.2-0.9")) + cue("empty", "solo", "") +
                     cue("unlisted", "solo", sample("unlisted", "1")) + cue("broken", "solo", sample("broken", "1")) +
                     "</AudioCues></SoundList>");
        handler = makeHandler();
    }

    ALint state(std::uint32_t handle) const {
        ALint value = 0;
        alGetSourcei(handler->sources()[indexOf(handle)].source, AL_SOURCE_STATE, &value);
        return value;
    }
    float sourceFloat(std::uint32_t handle, ALenum parameter) const {
        float value = 0.0f;
        alGetSourcef(handler->sources()[indexOf(handle)].source, parameter, &value);
        return value;
    }
    std::vector<float> position(std::uint32_t handle) const {
        float x = 0.0f, y = 0.0f, z = 0.0f;
        alGetSource3f(handler->sources()[indexOf(handle)].source, AL_POSITION, &x, &y, &z);
        return {x, y, z};
    }
    std::uint32_t play(const std::string& name, int loopMode = 0) {
        const std::uint32_t handle = handler->playCue(name, loopMode, 0.0f, 1.0f, 1.0f);
        // Start times must differ for the oldest-sound choice.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return handle;
    }

    std::unique_ptr<AudioHandler> handler;
};

TEST_F(AudioHandlerTest, SourcesFollowTheGroupsOfTheSoundList) {
    ASSERT_EQ(handler->sources().size(), 1u + 4 + 2 + 2 + 1);
    std::set<std::uint32_t> names;
    for (const AudioSource& source : handler->sources()) {
        EXPECT_TRUE(alIsSource(source.source));
        names.insert(source.source);
    }
    EXPECT_EQ(names.size(), handler->sources().size());
    // Samples naming the same file share its number, counted from 1 in load order.
    const std::vector<AudioCue>& cues = handler->soundList().cues;
    EXPECT_EQ(cues[0].samples[0].fileIndex, 1);   // long
    EXPECT_EQ(cues[4].samples[2].fileIndex, 4);   // three
    EXPECT_EQ(cues[5].samples[1].fileIndex, 3);   // two again
    EXPECT_EQ(cues[6].samples[0].fileIndex, 1);   // long again
}

// The search for a free source starts just after the last used one and wraps around.
TEST_F(AudioHandlerTest, FreeSourcesAreTakenInTurn) {
    std::vector<std::uint32_t> indices;
    for (int i = 0; i < 4; ++i) {
        indices.push_back(indexOf(play("four")));
    }
    // "four" owns sources 1 to 4; the last used one starts as the first.
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{2, 3, 4, 1}));
    // All four play: the oldest sound gives way.
    EXPECT_EQ(indexOf(play("four")), 2u);
}

TEST_F(AudioHandlerTest, AFullGroupStealsItsOldestInterruptibleSound) {
    struct Case {
        const char* name;
        const char* cue;
        int firstLoop;
        int secondLoop;
        int stolen; // 0 first sound, 1 second sound, -1 none
    };
    const Case cases[] = {
        {"not interruptible", "fixedPair", 0, 0, -1},
        {"two one-shot sounds: the older one", "pair", 0, 0, 0},
        {"a one-shot sound before an older looping one", "pair", 1, 0, 1},
        {"two looping sounds: the older one", "pair", 1, 1, 0},
    };
    for (const Case& c : cases) {
        handler->stopAll();
        const std::uint32_t first = play(c.cue, c.firstLoop);
        const std::uint32_t second = play(c.cue, c.secondLoop);
        ASSERT_NE(first, 0u) << c.name;
        ASSERT_NE(second, 0u) << c.name;
        ASSERT_EQ(state(first), AL_PLAYING) << c.name;
        ASSERT_EQ(state(second), AL_PLAYING) << c.name;

        const std::uint32_t third = play(c.cue);
        if (c.stolen < 0) {
            EXPECT_EQ(third, 0u) << c.name;
            EXPECT_EQ(state(first), AL_PLAYING) << c.name;
            EXPECT_EQ(state(second), AL_PLAYING) << c.name;
        } else {
            EXPECT_EQ(indexOf(third), indexOf(c.stolen == 0 ? first : second)) << c.name;
            EXPECT_EQ(state(third), AL_PLAYING) << c.name;
            EXPECT_FALSE(handler->sources()[indexOf(third)].looping) << c.name;
        }
    }
}

// A handle goes stale once its source starts another sound: it must not touch that sound.
TEST_F(AudioHandlerTest, StaleHandlesAreIgnored) {
    const std::uint32_t old = play("solo");
    const std::uint32_t current = play("solo");
    ASSERT_EQ(indexOf(old), indexOf(current));
    ASSERT_EQ((current >> 16), (old >> 16) + 1);

    handler->setPitch(old, 2.0f);
    handler->setVolumeAndPan(old, 1.0f, 0.25f);
    handler->stop(old);
    EXPECT_FLOAT_EQ(sourceFloat(current, AL_PITCH), 1.0f);
    EXPECT_FLOAT_EQ(sourceFloat(current, AL_GAIN), 1.0f);
    EXPECT_EQ(position(current), (std::vector<float>{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(state(current), AL_PLAYING);

    // An index beyond the sources is ignored too.
    handler->stop(0x00010000u | 0xFFFFu);
    handler->setPitch(std::uint32_t(handler->sources().size()), 2.0f);

    handler->setPitch(current, 2.0f);
    EXPECT_FLOAT_EQ(sourceFloat(current, AL_PITCH), 2.0f);
    handler->stop(current);
    EXPECT_EQ(state(current), AL_STOPPED);
}

TEST_F(AudioHandlerTest, ShuffleCuePlaysEachSampleOncePerCycle) {
    // The samples' volumes tell them apart.
    for (int cycle = 0; cycle < 4; ++cycle) {
        std::multiset<float> volumes;
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t handle = play("trio");
            ASSERT_NE(handle, 0u);
            volumes.insert(handler->sources()[indexOf(handle)].volume);
        }
        EXPECT_EQ(volumes, (std::multiset<float>{0.1f, 0.2f, 0.3f})) << "cycle " << cycle;
    }
}

TEST_F(AudioHandlerTest, RandomCueIgnoresTheWeights) {
    std::set<float> volumes;
    for (int i = 0; i < 40; ++i) {
        volumes.insert(handler->sources()[indexOf(play("weighted"))].volume);
    }
    EXPECT_EQ(volumes, (std::set<float>{0.1f, 0.2f}));
}

TEST_F(AudioHandlerTest, VolumePitchAndPanReachTheSource) {
    const std::uint32_t ranged = handler->playCue("ranged", 0, 1.0f, 0.5f, 2.0f);
    const AudioSource& source = handler->sources()[indexOf(ranged)];
    EXPECT_GE(source.volume, 0.5f);
    EXPECT_LE(source.volume, 1.0f);
    EXPECT_FLOAT_EQ(source.gain, source.volume * 0.5f);
    EXPECT_FLOAT_EQ(sourceFloat(ranged, AL_GAIN), source.volume * 0.5f);
    EXPECT_FLOAT_EQ(sourceFloat(ranged, AL_PITCH), 1.6f);
    const std::vector<float> right = position(ranged);
    EXPECT_FLOAT_EQ(right[0], 1.0f);
    EXPECT_FLOAT_EQ(right[1], 0.0f);
    EXPECT_NEAR(right[2], 0.0f, 1e-6f);

    // A reversed pitch range is drawn between its smaller and larger end.
    const std::uint32_t exact = handler->playCue("exact", 0, 0.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(handler->sources()[indexOf(exact)].volume, 0.8f);
    EXPECT_GE(handler->sources()[indexOf(exact)].pitch, 0.9f);
    EXPECT_LE(handler->sources()[indexOf(exact)].pitch, 1.2f);
    EXPECT_EQ(position(exact), (std::vector<float>{0.0f, 0.0f, 1.0f}));

    int fired = 0;
    const EventConnection connection = handler->soundVolumeChanged.connect(&fired, [](int* count) { ++*count; });
    handler->setSoundVolume(0.5f);
    handler->setSoundVolume(0.5f);
    EXPECT_EQ(fired, 1);
    EXPECT_FLOAT_EQ(sourceFloat(exact, AL_GAIN), 0.4f);

    handler->setVolumeAndPan(exact, -1.0f, 0.25f);
    EXPECT_FLOAT_EQ(sourceFloat(exact, AL_GAIN), 0.8f * 0.25f * 0.5f);
    EXPECT_FLOAT_EQ(position(exact)[0], -1.0f);
}

TEST_F(AudioHandlerTest, SilentCuesTakeSourcesButStayAtGainZero) {
    DebugFlag& silent = *findDebugFlag("system", "silent");
    silent = true;
    const std::uint32_t handle = handler->playCue("exact", 0, 0.0f, 1.0f, 1.0f);
    silent = false;
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(state(handle), AL_PLAYING);
    EXPECT_FLOAT_EQ(sourceFloat(handle, AL_GAIN), 0.0f);
    handler->setSoundVolume(0.7f);
    EXPECT_FLOAT_EQ(sourceFloat(handle, AL_GAIN), 0.0f);
}

TEST_F(AudioHandlerTest, CuesThatPlayNothing) {
    for (const char* name : {"nonexistent", "empty", "unlisted", "broken"}) {
        EXPECT_EQ(handler->playCue(name, 0, 0.0f, 1.0f, 1.0f), 0u) << name;
    }
    // Sound files that give no sound are named in the log.
    EXPECT_NE(std::find(logLines.begin(), logLines.end(), "Sound file not in the file list: Sounds/unlisted\n"),
              logLines.end());
    EXPECT_NE(std::find(logLines.begin(), logLines.end(), "Could not read sound file: Audio/Sounds/broken.wav\n"),
              logLines.end());
}

TEST_F(AudioHandlerTest, StopAllStopsEverySound) {
    const std::uint32_t looping = play("pair", 1);
    const std::uint32_t once = play("four");
    handler->stopAll();
    EXPECT_EQ(state(looping), AL_STOPPED);
    EXPECT_EQ(state(once), AL_STOPPED);
    EXPECT_FALSE(handler->sources()[indexOf(looping)].looping);
}

TEST_F(AudioHandlerTest, TheMusicFallsSilentWhileTheWindowHasNoFocus) {
    handler->setMusicVolume(0.5f);
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.5f);
    events.focusLost.fireNoArgs();
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.0f);
    events.focusGained.fireNoArgs();
    handler->setMusicFactor(0.3f);
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.15f);
}

class AudioOutputTest : public test::AudioTest {};

TEST_F(AudioOutputTest, APlayedCueReachesTheOutput) {
    addSound("tone", test::toneWav(1000.0, 0.3));
    setSoundList("<SoundList><AudioSourceGroups>" + group("g", 1, true) + "</AudioSourceGroups><AudioCues>" +
                 cue("tone", "g", sample("tone", "1")) + "</AudioCues></SoundList>");
    {
        std::unique_ptr<AudioHandler> handler = makeHandler();
        ASSERT_NE(handler->playCue("tone", 0, -1.0f, 1.0f, 1.0f), 0u);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    const test::WaveOutput output = test::readWaveOutput();
    ASSERT_GT(output.left.size(), std::size_t(test::kOutputRate / 4));
    // Find the sound, then check its pitch and that it is on the left.
    std::size_t start = 0;
    while (start < output.left.size() && std::abs(output.left[start]) < 0.01) {
        ++start;
    }
    ASSERT_LT(start + test::kOutputRate / 5, output.left.size());
    const std::size_t end = start + test::kOutputRate / 5;
    EXPECT_NEAR(output.frequency(start, end), 1000.0, 30.0);
    double left = 0.0, right = 0.0;
    for (std::size_t i = start; i < end; ++i) {
        left += output.left[i] * output.left[i];
        right += output.right[i] * output.right[i];
    }
    EXPECT_GT(left, 4.0 * right);
}

// The game's own sound list and sounds, as the build generates them.
TEST_F(AudioOutputTest, EveryCueOfTheGameDataPlays) {
    initFileSystem("BundlePC");
    AudioHandler handler;
    handler.init();
    ASSERT_FALSE(handler.soundList().cues.empty());
    for (const AudioCue& cue : handler.soundList().cues) {
        EXPECT_NE(handler.playCue(cue.name, 0, 0.0f, 1.0f, 1.0f), 0u) << cue.name;
    }
    EXPECT_TRUE(logLines.empty()) << logLines.front();
}

// The handler's threads (the music thread and the device's mixer) all end with it.
TEST_F(AudioOutputTest, ShutdownJoinsItsThreads) {
    addMusic("theme", test::toneWav(300.0, 2.0));
    setSoundList("<SoundList><AudioSourceGroups/><AudioCues/></SoundList>");
    const int before = test::threadCount();
    std::unique_ptr<AudioHandler> handler = makeHandler();
    EXPECT_GT(test::threadCount(), before);
    handler->playMusic("theme", 0.0f);
    handler->updateMusic(0.0f);
    ASSERT_TRUE(test::waitFor([&] { return handler->isMusicPlaying(); }, 2.0));
    const auto start = std::chrono::steady_clock::now();
    handler.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(test::threadCount(), before);
}

} // namespace
} // namespace zor
