#include "Framework/audio/AudioHandler.h"

#include "Framework/audio/MusicPlayer.h"
#include "Framework/audio/SoundFile.h"
#include "Framework/core/Errors.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/core/threads/Clock.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace zor {

namespace {

constexpr const char* kLogSource = "AudioHandler";

// Sound files of effects beyond this size are not decoded into a buffer.
constexpr std::uint64_t kMaxEffectBytes = 0x40000000;

// Pan -1 is full left, 0 the centre, +1 full right, always at distance 1.
void setPan(ALuint source, float pan) {
    const float angle = pan * 3.1415927f * 0.5f;
    alSource3f(source, AL_POSITION, std::sin(angle), 0.0f, std::cos(angle));
}

} // namespace

AudioHandler::AudioHandler()
    : m_silent(declareDebugToggle(DebugToggle("silent", DebugToggle::Toggle, "system"))),
      m_clockRandomizer(Randomizer::fromSeed(clockSeed())) {}

AudioHandler::~AudioHandler() {
    // The music thread uses the context, so it goes first.
    m_musicPlayer.reset();
    if (m_context) {
        for (const AudioSource& source : m_sources) {
            alDeleteSources(1, &source.source);
        }
        alGetError();
        for (const auto& buffer : m_buffers) {
            alDeleteBuffers(1, &buffer.second);
        }
        alGetError();
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
    }
    if (m_device) {
        alcCloseDevice(m_device);
    }
}

void AudioHandler::init() {
    SystemEvents& events = SystemEvents::instance();
    m_connections.push_back(events.focusLost.connect(this, [](AudioHandler* self) { self->m_focusLost = true; }));
    m_connections.push_back(events.focusGained.connect(this, [](AudioHandler* self) { self->m_focusLost = false; }));

    std::string error;
    if (!loadSoundList(joinPath("Audio", "sounds.xml"), m_soundList, error)) {
        // The game runs on without sound effects.
        LogHandler::log(LogHandler::Warning, kLogSource, "Sound list not loaded: " + error);
    }

    m_device = alcOpenDevice(nullptr);
    if (!m_device) {
        throw CheckReleaseError("Failed to open default OpenAL device.");
    }
    m_context = alcCreateContext(m_device, nullptr);
    if (!m_context) {
        throw CheckReleaseError("Failed to create OpenAL context.");
    }
    alcMakeContextCurrent(m_context);
    alGetError();

    createSources();
    m_fileList.load();
    m_musicPlayer = std::make_unique<MusicPlayer>(m_fileList);
    loadSampleBuffers();
}

void AudioHandler::createSources() {
    int total = 0;
    for (const AudioSourceGroup& group : m_soundList.groups) {
        m_groupSlots.push_back(GroupSlot{total, total});
        total += group.maxSimultaneousSounds;
    }
    m_sources.assign(std::size_t(total), AudioSource());
    std::vector<ALuint> names(std::size_t(total), 0);
    alGenSources(ALsizei(total), names.data());
    for (int i = 0; i < total; ++i) {
        m_sources[std::size_t(i)].source = names[std::size_t(i)];
    }
    alGetError();
}

std::uint32_t AudioHandler::loadSampleBuffer(const std::string& file) const {
    const std::string key = joinPath("Sounds", file);
    const std::string extension = m_fileList.find(key);
    if (extension.empty()) {
        LogHandler::log(LogHandler::Warning, kLogSource, "Sound file not in the file list: " + key);
        return 0;
    }
    const std::string path = joinPath("Audio", key) + "." + extension;
    const std::shared_ptr<SoundFile> sound = openSoundFile(path);
    ByteArray data;
    if (!sound || sound->dataSize() > kMaxEffectBytes ||
        sound->read(std::uint32_t(sound->dataSize()), false, data) != sound->dataSize()) {
        LogHandler::log(LogHandler::Warning, kLogSource, "Could not read sound file: " + path);
        return 0;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, ALenum(sound->format()), data.get(), ALsizei(sound->dataSize()), ALsizei(sound->frequency()));
    alGetError();
    return buffer;
}

void AudioHandler::loadSampleBuffers() {
    std::unordered_map<std::string, int> fileIndices;
    int nextFileIndex = 1;
    for (std::size_t c = 0; c < m_soundList.cues.size(); ++c) {
        AudioCue& cue = m_soundList.cues[c];
        CueEntry entry;
        entry.cue = c;
        for (std::size_t s = 0; s < cue.samples.size(); ++s) {
            AudioSample& sample = cue.samples[s];
            const auto seen = fileIndices.find(sample.file);
            if (seen != fileIndices.end()) {
                sample.fileIndex = seen->second;
            } else {
                const std::uint32_t buffer = loadSampleBuffer(sample.file);
                if (buffer != 0) {
                    m_buffers[sample.file] = buffer;
                }
                sample.fileIndex = nextFileIndex++;
                fileIndices.emplace(sample.file, sample.fileIndex);
            }
            entry.shuffle.add(int(s), sample.weight);
        }
        entry.shuffle.complete();
        // A later cue of the same name does not replace the first.
        m_cueTable.emplace(cue.name, std::move(entry));
    }
}

std::uint32_t AudioHandler::playCue(const std::string& name, int loopMode, float pan, float volume, float pitch) {
    const auto found = m_cueTable.find(name);
    if (found == m_cueTable.end()) {
        return 0;
    }
    const AudioCue& cue = m_soundList.cues[found->second.cue];
    if (cue.samples.empty()) {
        return 0;
    }
    if (m_silent) {
        volume = 0.0f;
    }
    int sampleIndex = 0;
    if (cue.selection == AudioCue::Random) {
        sampleIndex = int(m_randomizer->nextIndex(std::uint32_t(cue.samples.size())));
    } else if (cue.selection == AudioCue::Shuffle) {
        sampleIndex = found->second.shuffle.draw(*m_randomizer);
    }
    const AudioSample& sample = cue.samples[std::size_t(sampleIndex)];
    const auto buffer = m_buffers.find(sample.file);
    if (buffer == m_buffers.end()) {
        return 0;
    }
    const int index = chooseSource(cue.group);
    alGetError();
    if (index < 0) {
        return 0;
    }
    AudioSource& source = m_sources[std::size_t(index)];
    source.volume = m_randomizer->nextFloatRange(std::min(sample.volumeMin, sample.volumeMax),
                                                 std::max(sample.volumeMin, sample.volumeMax));
    source.gain = source.volume * volume;
    source.pitch = m_randomizer->nextFloatRange(std::min(sample.pitchMin, sample.pitchMax),
                                                std::max(sample.pitchMin, sample.pitchMax));
    source.startTime = secondsSinceStart();
    ++source.playCount;
    source.looping = loopMode == 1;

    alSourceStop(source.source);
    alSourcef(source.source, AL_GAIN, m_soundVolume * source.gain);
    alSourcef(source.source, AL_PITCH, pitch * source.pitch);
    setPan(source.source, pan);
    alSourcei(source.source, AL_LOOPING, source.looping ? AL_TRUE : AL_FALSE);
    alSourcei(source.source, AL_BUFFER, ALint(buffer->second));
    alSourcePlay(source.source);
    alGetError();

    m_groupSlots[std::size_t(cue.group)].lastUsed = index;
    return std::uint32_t(index) | std::uint32_t(source.playCount) << 16;
}

int AudioHandler::chooseSource(std::int32_t group) {
    const int count = m_soundList.groups[std::size_t(group)].maxSimultaneousSounds;
    const GroupSlot& slot = m_groupSlots[std::size_t(group)];
    int oldestOnce = -1;
    int oldestLooping = -1;
    for (int i = 0; i < count; ++i) {
        // The search starts just after the last used source and wraps around the group.
        const int candidate = slot.first + (slot.lastUsed - slot.first + i + 1) % count;
        const AudioSource& source = m_sources[std::size_t(candidate)];
        ALint state = AL_STOPPED;
        alGetSourcei(source.source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            return candidate;
        }
        int& oldest = source.looping ? oldestLooping : oldestOnce;
        if (oldest < 0 || source.startTime < m_sources[std::size_t(oldest)].startTime) {
            oldest = candidate;
        }
    }
    if (m_soundList.groups[std::size_t(group)].notInterruptible) {
        return -1;
    }
    return oldestOnce >= 0 ? oldestOnce : oldestLooping;
}

AudioSource* AudioHandler::sourceOf(std::uint32_t handle) {
    const std::size_t index = handle & 0xFFFFu;
    if (index >= m_sources.size() || m_sources[index].playCount != handle >> 16) {
        return nullptr;
    }
    return &m_sources[index];
}

void AudioHandler::setPitch(std::uint32_t handle, float factor) {
    if (AudioSource* source = sourceOf(handle)) {
        alSourcef(source->source, AL_PITCH, source->pitch * factor);
        alGetError();
    }
}

void AudioHandler::setVolumeAndPan(std::uint32_t handle, float pan, float volume) {
    if (AudioSource* source = sourceOf(handle)) {
        source->gain = source->volume * volume;
        alSourcef(source->source, AL_GAIN, source->gain * m_soundVolume);
        setPan(source->source, pan);
        alGetError();
    }
}

void AudioHandler::stop(std::uint32_t handle) {
    if (AudioSource* source = sourceOf(handle)) {
        alSourceStop(source->source);
        source->looping = false;
        alGetError();
    }
}

void AudioHandler::stopAll() {
    for (AudioSource& source : m_sources) {
        alSourceStop(source.source);
        alGetError();
        source.looping = false;
    }
}

void AudioHandler::setSoundVolume(float volume) {
    if (volume == m_soundVolume) {
        return;
    }
    m_soundVolume = volume;
    for (const AudioSource& source : m_sources) {
        alSourcef(source.source, AL_GAIN, source.gain * volume);
    }
    alGetError();
    soundVolumeChanged.fireNoArgs();
}

// Music.

bool AudioHandler::isMusicPlaying() const { return m_musicPlayer && m_musicPlayer->isPlaying(); }

void AudioHandler::playMusic(const std::string& track, float fade) {
    if (!isMusicPlaying()) {
        setMusicTrack(track);
        startMusic(PlayLooping, fade);
        return;
    }
    if (fade > 0.0f) {
        // The new track starts when this fade-out ends (updateMusic).
        m_fadeOutLength = m_fadeOutLeft = fade;
        m_queuedTrack = track;
        m_queuedFade = fade;
        m_queuedMode = PlayLooping;
        return;
    }
    // No fade: switch now. The stop makes the same track start again from the beginning.
    m_musicPlayer->postCommand(StopMusic);
    m_queuedTrack.clear();
    setMusicTrack(track);
    startMusic(PlayLooping, fade);
}

void AudioHandler::stopMusic(float fade) {
    if (fade > 0.0f) {
        m_fadeOutLength = m_fadeOutLeft = fade;
    } else {
        m_musicPlayer->postCommand(StopMusic);
    }
    m_queuedTrack.clear();
}

void AudioHandler::setMusicTrack(const std::string& track) {
    if (track == m_currentTrack) {
        return;
    }
    m_musicPlayer->setTrack(track);
    m_currentTrack = track;
}

void AudioHandler::startMusic(int mode, float fade) {
    m_fadeOutLeft = 0.0f;
    m_fadeInLength = m_fadeInLeft = fade;
    updateMusicGain();
    m_musicPlayer->postCommand(mode == PlayLooping ? PlayLooping : PlayOnce);
}

void AudioHandler::updateMusic(float dt) {
    if (m_fadeOutLeft > 0.0f) {
        m_fadeOutLeft -= dt;
        // A fade-out that lands on 0 exactly has ended too: at 0 nothing would count it
        // down any further.
        if (m_fadeOutLeft <= 0.0f) {
            m_fadeOutLeft = -1.0f;
            const std::string next = std::exchange(m_queuedTrack, std::string());
            m_musicPlayer->postCommand(StopMusic);
            if (!next.empty()) {
                // A different track replaces the command queue, stop included; the same
                // one stops and starts again from the beginning.
                setMusicTrack(next);
                startMusic(m_queuedMode, m_queuedFade);
            }
        }
    }
    if (m_fadeInLeft > 0.0f) {
        m_fadeInLeft = std::max(m_fadeInLeft - dt, 0.0f);
    }
    updateMusicGain();
    m_musicPlayer->requestUpdate();
}

float AudioHandler::musicGain() const {
    if (m_silent || m_focusLost) {
        return 0.0f;
    }
    float factor = 1.0f;
    if (m_fadeOutLeft > 0.0f && m_fadeOutLength > 0.0f) {
        factor = m_fadeOutLeft / m_fadeOutLength;
    }
    if (m_fadeInLeft > 0.0f && m_fadeInLength > 0.0f) {
        factor *= 1.0f - m_fadeInLeft / m_fadeInLength;
    }
    return factor * m_musicFactor * m_musicVolume;
}

void AudioHandler::updateMusicGain() {
    if (m_musicPlayer) {
        m_musicPlayer->setGain(musicGain());
    }
}

void AudioHandler::setMusicVolume(float volume) {
    m_musicVolume = volume;
    updateMusicGain();
    musicVolumeChanged.fireNoArgs();
}

void AudioHandler::setMusicFactor(float factor) {
    m_musicFactor = factor;
    updateMusicGain();
    musicVolumeChanged.fireNoArgs();
}

} // namespace zor
