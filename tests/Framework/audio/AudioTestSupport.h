#pragma once
// OpenAL for tests: openal-soft's wave-file backend, which mixes in real time like a sound
// card and writes what it plays to a WAV file, so a test can check what reached the
// output. openal-soft reads its configuration once per process, so every audio test of a
// program shares one configuration and one output file (rewritten at each device open).
//
// AudioTest gives each test a game data folder of its own for sound lists, sounds and
// music, and the engine services the AudioHandler relies on.

#include "Framework/audio/AudioHandler.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "tests/support/common/TempFolder.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace zor::test {

constexpr int kOutputRate = 44100;

// Sets the process up for the wave backend on first use; returns the output file.
inline const std::filesystem::path& waveOutputFile() {
    static TempFolder folder;
    static const std::filesystem::path output = [] {
        const std::filesystem::path file = folder / "output.wav";
        folder.write("alsoft.conf", "[general]\ndrivers = wave\nfrequency = " + std::to_string(kOutputRate) +
                                        "\nchannels = stereo\nsample-type = int16\n[wave]\nfile = " + file.string() +
                                        "\n");
        setenv("ALSOFT_CONF", (folder / "alsoft.conf").c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        return file;
    }();
    return output;
}

// The output file's samples, split into the two channels.
struct WaveOutput {
    std::vector<double> left;
    std::vector<double> right;

    // Root mean square of both channels over [begin, end).
    double rms(std::size_t begin, std::size_t end) const {
        double sum = 0.0;
        for (std::size_t i = begin; i < end; ++i) {
            sum += left[i] * left[i] + right[i] * right[i];
        }
        return end > begin ? std::sqrt(sum / double(2 * (end - begin))) : 0.0;
    }
    // The tone's frequency over [begin, end) from the zero crossings of both channels.
    double frequency(std::size_t begin, std::size_t end) const {
        int crossings = 0;
        for (std::size_t i = begin + 1; i < end; ++i) {
            const double mix = left[i] + right[i];
            const double previous = left[i - 1] + right[i - 1];
            crossings += (previous < 0.0) != (mix < 0.0) ? 1 : 0;
        }
        return crossings / 2.0 / (double(end - begin) / kOutputRate);
    }
};

// Reads the output of the last device; call after the device was closed.
inline WaveOutput readWaveOutput() {
    std::ifstream in(waveOutputFile(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WaveOutput output;
    std::size_t at = 12;
    while (at + 8 <= bytes.size() && bytes.compare(at, 4, "data") != 0) {
        std::uint32_t size = 0;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        at += 8 + size;
    }
    for (at += 8; at + 4 <= bytes.size(); at += 4) {
        std::int16_t frame[2];
        std::memcpy(frame, bytes.data() + at, 4);
        output.left.push_back(frame[0] / 32768.0);
        output.right.push_back(frame[1] / 32768.0);
    }
    return output;
}

// Polls `done` every 10 ms for up to `seconds`; true when it became true.
inline bool waitFor(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The number of threads of this process.
inline int threadCount() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        (void)entry;
        ++count;
    }
    return count;
}

class AudioTest : public ::testing::Test {
protected:
    AudioTest() : m_user("ZOR_USER_DIR", m_userFolder.path().string()) {
        waveOutputFile();
        initFileSystem(m_gameData.path().string());
        m_log.addSink([this](const std::string& line, LogHandler::LevelType) { logLines.push_back(line); }, 1,
                      LogHandler::Warning, "%1%");
    }

    // A sound effect below Audio/Sounds, entered into the file list.
    void addSound(const std::string& name, const std::string& wavBytes) {
        m_gameData.write("Audio/Sounds/" + name + ".wav", wavBytes);
        m_fileList += "Sounds/" + name + ".wav\n";
    }
    // A music track below Audio/Music, entered into the file list.
    void addMusic(const std::string& name, const std::string& wavBytes) {
        m_gameData.write("Audio/Music/" + name + ".wav", wavBytes);
        m_fileList += "Music/" + name + ".wav\n";
    }
    void setSoundList(const std::string& xml) { m_gameData.write("Audio/sounds.xml", xml); }

    // The handler over this test's game data, initialised, drawing from `randomizer`.
    std::unique_ptr<AudioHandler> makeHandler() {
        m_gameData.write("Audio/files.lst", m_fileList);
        auto handler = std::make_unique<AudioHandler>();
        handler->setRandomizer(randomizer);
        handler->init();
        return handler;
    }

    // Runs the music updates in real time for `seconds`.
    static void runMusic(AudioHandler& handler, double seconds) {
        auto last = std::chrono::steady_clock::now();
        const auto end = last + std::chrono::duration<double>(seconds);
        while (last < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const auto now = std::chrono::steady_clock::now();
            handler.updateMusic(std::chrono::duration<float>(now - last).count());
            last = now;
        }
    }

    TempFolder m_gameData;
    TempFolder m_userFolder;
    ScopedEnv m_user;
    SystemEvents events;
    LogHandler m_log;
    std::vector<std::string> logLines;
    Randomizer randomizer = Randomizer::fromSeed(4242);

private:
    std::string m_fileList;
};

} // namespace zor::test
