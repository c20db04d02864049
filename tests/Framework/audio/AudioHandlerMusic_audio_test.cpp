#include "Framework/audio/AudioHandler.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/Framework/audio/AudioTestSupport.h"
#include "tests/Framework/audio/SoundTestData.h"

namespace zor {
namespace {

// Tracks are tones whose pitch tells them apart in the output.
constexpr double kToneA = 300.0;
constexpr double kToneB = 1200.0;

class AudioMusicTest : public test::AudioTest {
protected:
    void SetUp() override {
        addMusic("a", test::toneWav(kToneA, 3.0));
        addMusic("b", test::toneWav(kToneB, 3.0));
        // Shorter than one streaming chunk.
        addMusic("jingle", test::toneWav(kToneB, 0.25));
        setSoundList("<SoundList><AudioSourceGroups/><AudioCues/></SoundList>");
        handler = makeHandler();
    }

    // Starts track A and waits until the music thread streams it.
    void startA() {
        handler->playMusic("a", 0.0f);
        handler->updateMusic(0.0f);
        ASSERT_TRUE(test::waitFor([this] { return handler->isMusicPlaying(); }, 2.0));
    }

    // Closes the device and reads what it played, in 10 ms windows: the level and the
    // tone (0 silent, 1 track A, 2 track B, -1 anything else).
    struct Window {
        double level;
        int tone;
    };
    std::vector<Window> finishAndListen() {
        handler.reset();
        const test::WaveOutput output = test::readWaveOutput();
        std::vector<Window> windows;
        const std::size_t size = test::kOutputRate / 100;
        for (std::size_t at = 0; at + size <= output.left.size(); at += size) {
            const double level = output.rms(at, at + size);
            const double frequency = output.frequency(at, at + size);
            int tone = -1;
            if (level < 0.002) {
                tone = 0;
            } else if (std::abs(frequency - kToneA) < 60.0) {
                tone = 1;
            } else if (std::abs(frequency - kToneB) < 120.0) {
                tone = 2;
            }
            windows.push_back({level, tone});
        }
        return windows;
    }

    static int first(const std::vector<Window>& windows, int tone) {
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (windows[i].tone == tone) {
                return int(i);
            }
        }
        return -1;
    }
    static int last(const std::vector<Window>& windows, int tone) {
        for (std::size_t i = windows.size(); i-- > 0;) {
            if (windows[i].tone == tone) {
                return int(i);
            }
        }
        return -1;
    }

    std::unique_ptr<AudioHandler> handler;
};

// Fades follow the update steps: A fades in; asked for B, A fades out, then B starts
// with a fade-in. A fade-out that lands exactly on 0 has ended too.
TEST_F(AudioMusicTest, FadesFollowTheUpdateSteps) {
    handler->setMusicVolume(0.8f);
    handler->playMusic("a", 0.5f);
    EXPECT_EQ(handler->currentTrack(), "a");
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.0f);
    handler->updateMusic(0.25f);
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.4f);
    handler->updateMusic(0.25f);
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.8f);
    ASSERT_TRUE(test::waitFor([this] { return handler->isMusicPlaying(); }, 2.0));

    handler->playMusic("b", 0.5f);
    EXPECT_EQ(handler->currentTrack(), "a");
    EXPECT_EQ(handler->queuedTrack(), "b");
    handler->updateMusic(0.25f);
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.4f);
    EXPECT_EQ(handler->currentTrack(), "a");
    handler->updateMusic(0.25f);
    EXPECT_EQ(handler->currentTrack(), "b");
    EXPECT_EQ(handler->queuedTrack(), "");
    // The step that starts B also runs the first part of its fade-in.
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.4f);
    handler->updateMusic(0.25f);
    EXPECT_FLOAT_EQ(handler->musicGain(), 0.8f);
}

TEST_F(AudioMusicTest, StoppingDuringAFadeOutDropsTheQueuedTrack) {
    startA();
    handler->playMusic("b", 0.5f);
    handler->stopMusic(0.5f);
    EXPECT_EQ(handler->queuedTrack(), "");
    handler->updateMusic(0.3f);
    handler->updateMusic(0.3f);
    EXPECT_EQ(handler->currentTrack(), "a");
    EXPECT_TRUE(test::waitFor([this] { return !handler->isMusicPlaying(); }, 2.0));
}

TEST_F(AudioMusicTest, CrossFadeFromTrackAToTrackB) {
    handler->playMusic("a", 0.2f);
    runMusic(*handler, 0.7);
    handler->playMusic("b", 0.3f);
    runMusic(*handler, 1.0);
    const std::vector<Window> windows = finishAndListen();

    const int firstA = first(windows, 1);
    const int lastA = last(windows, 1);
    const int firstB = first(windows, 2);
    ASSERT_GE(firstA, 0);
    ASSERT_GT(firstB, lastA) << "B starts after A has ended, and A does not come back";
    EXPECT_GT(lastA - firstA, 40) << "A played for the time before the switch";
    EXPECT_LT(firstB - lastA, 30) << "B follows the end of A's fade-out";
    // A fades out: its last windows are quieter than its full level, and B fades in.
    double fullA = 0.0;
    for (int i = firstA; i <= lastA; ++i) {
        fullA = std::max(fullA, windows[std::size_t(i)].level);
    }
    EXPECT_LT(windows[std::size_t(lastA)].level, 0.5 * fullA);
    EXPECT_LT(windows[std::size_t(firstB)].level, 0.5 * windows[std::size_t(firstB + 40)].level);
    EXPECT_EQ(windows[std::size_t(firstB + 40)].tone, 2);
}

// With no fade the new track starts at once instead of waiting for a fade-out that never
// comes.
TEST_F(AudioMusicTest, AZeroLengthFadeStartsTheNewTrack) {
    startA();
    runMusic(*handler, 0.3);
    handler->playMusic("b", 0.0f);
    EXPECT_EQ(handler->currentTrack(), "b");
    EXPECT_EQ(handler->queuedTrack(), "");
    runMusic(*handler, 0.5);
    EXPECT_TRUE(handler->isMusicPlaying());
    const std::vector<Window> windows = finishAndListen();
    const int firstB = first(windows, 2);
    ASSERT_GE(firstB, 0);
    EXPECT_GT(firstB, last(windows, 1));
    EXPECT_EQ(windows[std::size_t(firstB + 20)].tone, 2);
}

// The whole of a one-shot track fits into the first fill of the buffers; it still plays.
TEST_F(AudioMusicTest, AShortOneShotTrackPlays) {
    handler->setMusicTrack("jingle");
    handler->startMusic(AudioHandler::PlayOnce, 0.0f);
    runMusic(*handler, 0.5);
    EXPECT_FALSE(handler->isMusicPlaying());
    const std::vector<Window> windows = finishAndListen();
    const int firstB = first(windows, 2);
    ASSERT_GE(firstB, 0);
    EXPECT_GE(last(windows, 2) - firstB, 15);
}

TEST_F(AudioMusicTest, AnUnlistedTrackLeavesTheMusicAsItIs) {
    startA();
    handler->playMusic("absent", 0.0f);
    runMusic(*handler, 0.3);
    EXPECT_TRUE(handler->isMusicPlaying());
    const std::vector<Window> windows = finishAndListen();
    EXPECT_EQ(windows[windows.size() - 5].tone, 1);
}

} // namespace
} // namespace zor
