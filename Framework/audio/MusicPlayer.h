#pragma once
// The music thread: it streams one track at a time into one OpenAL source through a
// small queue of buffers. The main thread talks to it only through the locked request
// fields below and reads back whether a track is playing.

#include "Framework/audio/AudioHandler.h"
#include "Framework/core/threads/ConditionVariable.h"
#include "Framework/core/threads/Mutex.h"
#include "Framework/core/threads/Thread.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

namespace zor {

class AudioHandler::MusicPlayer {
public:
    // Starts the thread; the OpenAL context must be current. The file list must be
    // complete and outlive the player.
    explicit MusicPlayer(const SoundFileList& fileList);
    // Asks the thread to quit and joins it.
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Asks for another track (a path below "Music" without extension) and drops the
    // commands not yet taken.
    void setTrack(const std::string& name);
    // One of the MusicCommand values; carried out at the thread's next pass.
    void postCommand(std::int32_t command);
    void setGain(float gain);
    // Wakes the thread for a pass now; it also runs one at least every 0.1 seconds.
    void requestUpdate();
    // The thread's view after its last pass: a track is streaming.
    bool isPlaying() const { return m_playing.load(std::memory_order_acquire); }

private:
    void run();

    const SoundFileList& m_fileList;
    ConditionVariable m_wake;
    Mutex m_lock;
    // Guarded by m_lock.
    std::string m_requestedTrack;
    std::deque<std::int32_t> m_commands;
    float m_gain = 1.0f;
    bool m_updateRequested = false;
    bool m_quitRequested = false;

    std::atomic<bool> m_playing{false};
    // Started last, once everything it reads exists.
    std::unique_ptr<Thread> m_thread;
};

} // namespace zor
