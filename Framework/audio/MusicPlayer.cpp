#include "Framework/audio/MusicPlayer.h"

#include "Framework/audio/SoundFile.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/platform/CrashHandler.h"
#include "Framework/platform/Debugger.h"

#include <AL/al.h>

#include <vector>

namespace zor {

namespace {

// A third of a second of 16-bit stereo sound at 44100 Hz; every frame size (1, 2 or 4
// bytes) divides it.
constexpr std::uint32_t kChunkBytes = 58800;
// About one second kept queued.
constexpr int kQueuedBuffers = 3;
constexpr double kPassInterval = 0.1;

// The music thread's own OpenAL source and buffers and the track it streams.
class MusicStream {
public:
    MusicStream() : m_readBuffer(new std::uint8_t[kChunkBytes]), m_allBuffers(kQueuedBuffers) {
        alGenBuffers(kQueuedBuffers, m_allBuffers.data());
        m_freeBuffers = m_allBuffers;
        alGenSources(1, &m_source);
        alGetError();
    }

    ~MusicStream() {
        // The source first: buffers still queued on it cannot be deleted.
        alDeleteSources(1, &m_source);
        alDeleteBuffers(ALsizei(m_allBuffers.size()), m_allBuffers.data());
        alGetError();
    }

    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    bool isPlaying() const { return m_playing; }

    // A track without an entry in the file list changes nothing; one that does not open
    // leaves no track, so nothing plays until another one is chosen.
    void selectTrack(const SoundFileList& fileList, const std::string& name) {
        const std::string key = joinPath("Music", name);
        const std::string extension = fileList.find(key);
        if (extension.empty()) {
            return;
        }
        const std::string path = joinPath("Audio", key) + "." + extension;
        if (m_file && m_file->path() == path) {
            return;
        }
        alSourceStop(m_source);
        m_playing = false;
        m_file = openSoundFile(path);
    }

    void runCommands(const std::deque<std::int32_t>& commands) {
        if (!m_file) {
            m_playing = false;
            return;
        }
        for (const std::int32_t command : commands) {
            switch (command) {
            case AudioHandler::PlayOnce:
            case AudioHandler::PlayLooping:
                // A paused stream resumes where it stopped.
                if (sourceState() != AL_PAUSED) {
                    m_file->rewind();
                }
                m_playing = true;
                m_looping = command == AudioHandler::PlayLooping;
                break;
            case AudioHandler::StopMusic:
                alSourceStop(m_source);
                m_playing = false;
                break;
            case AudioHandler::PauseMusic:
                if (sourceState() == AL_PLAYING) {
                    alSourcePause(m_source);
                }
                m_playing = false;
                break;
            default:
                break;
            }
        }
    }

    void setGain(float gain) {
        alSourcef(m_source, AL_GAIN, gain);
        alGetError();
    }

    void reclaimPlayedBuffers() {
        ALint processed = 0;
        alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
        for (; processed > 0; --processed) {
            ALuint buffer = 0;
            alSourceUnqueueBuffers(m_source, 1, &buffer);
            if (alGetError() != AL_NO_ERROR) {
                break;
            }
            m_freeBuffers.push_back(buffer);
        }
        alGetError();
    }

    void fill() {
        if (!m_playing) {
            return;
        }
        const std::uint32_t chunk = kChunkBytes - kChunkBytes % m_file->blockAlign();
        ALint queued = 0;
        alGetSourcei(m_source, AL_BUFFERS_QUEUED, &queued);
        bool endedNow = false;
        while (queued < kQueuedBuffers) {
            const std::uint32_t count = m_file->read(chunk, m_looping, m_readBuffer);
            if (count > 0) {
                const ALuint buffer = takeFreeBuffer();
                alBufferData(buffer, ALenum(m_file->format()), m_readBuffer.get(), ALsizei(count),
                             ALsizei(m_file->frequency()));
                alSourceQueueBuffers(m_source, 1, &buffer);
                ++queued;
            }
            if (count != chunk) {
                // The end, or a failed read. A looping file wraps by itself, so a short
                // read there means it is broken.
                if (m_looping) {
                    m_file.reset();
                }
                m_playing = false;
                endedNow = true;
                break;
            }
        }
        // A stream that ended within this fill (a short one-shot track ends in its very
        // first) still plays what it queued.
        if ((m_playing || endedNow) && queued > 0 && sourceState() != AL_PLAYING) {
            alSourcePlay(m_source);
        }
        alGetError();
    }

private:
    ALint sourceState() const {
        ALint state = AL_INITIAL;
        alGetSourcei(m_source, AL_SOURCE_STATE, &state);
        return state;
    }

    ALuint takeFreeBuffer() {
        if (m_freeBuffers.empty()) {
            ALuint buffer = 0;
            alGenBuffers(1, &buffer);
            m_allBuffers.push_back(buffer);
            return buffer;
        }
        const ALuint buffer = m_freeBuffers.back();
        m_freeBuffers.pop_back();
        return buffer;
    }

    ByteArray m_readBuffer;
    std::vector<ALuint> m_allBuffers;
    std::vector<ALuint> m_freeBuffers;
    ALuint m_source = 0;
    std::shared_ptr<SoundFile> m_file;
    bool m_playing = false;
    bool m_looping = false;
};

} // namespace

AudioHandler::MusicPlayer::MusicPlayer(const SoundFileList& fileList) : m_fileList(fileList) {
    m_thread = std::make_unique<Thread>([this] { run(); });
}

AudioHandler::MusicPlayer::~MusicPlayer() {
    {
        Mutex::ScopedLock lock(m_lock);
        m_quitRequested = true;
    }
    m_wake.notifyOne();
    m_thread->join();
}

void AudioHandler::MusicPlayer::setTrack(const std::string& name) {
    Mutex::ScopedLock lock(m_lock);
    m_requestedTrack = name;
    m_commands.clear();
}

void AudioHandler::MusicPlayer::postCommand(std::int32_t command) {
    Mutex::ScopedLock lock(m_lock);
    m_commands.push_back(command);
}

void AudioHandler::MusicPlayer::setGain(float gain) {
    Mutex::ScopedLock lock(m_lock);
    m_gain = gain;
}

void AudioHandler::MusicPlayer::requestUpdate() {
    {
        Mutex::ScopedLock lock(m_lock);
        m_updateRequested = true;
    }
    m_wake.notifyOne();
}

void AudioHandler::MusicPlayer::run() {
    // A debugger should stop at a fault itself.
    if (!isDebuggerAttached()) {
        installCrashDumper();
    }
    MusicStream stream;
    for (;;) {
        std::string track;
        std::deque<std::int32_t> commands;
        float gain = 0.0f;
        {
            Mutex::ScopedLock lock(m_lock);
            if (!m_updateRequested && !m_quitRequested) {
                m_wake.wait(m_lock, kPassInterval);
            }
            if (m_quitRequested) {
                break;
            }
            track.swap(m_requestedTrack);
            commands.swap(m_commands);
            gain = m_gain;
            m_updateRequested = false;
        }
        // Decoding and OpenAL calls happen outside the lock, so the main thread never
        // waits for them.
        if (!track.empty()) {
            stream.selectTrack(m_fileList, track);
        }
        stream.runCommands(commands);
        stream.setGain(gain);
        stream.reclaimPlayedBuffers();
        stream.fill();
        m_playing.store(stream.isPlaying(), std::memory_order_release);
    }
}

} // namespace zor
