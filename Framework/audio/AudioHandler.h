#pragma once
// The engine's sound service. It opens the default OpenAL device, reads the sound list
// and the file list of "Audio", decodes every sound effect once at start-up, and plays
// named sound cues on the sources of each cue's source group. It also keeps the music
// state (current and queued track, fades, music gain) and owns the music thread.
//
// Everything here runs on the main thread; the music thread only sees the MusicPlayer's
// locked fields and the file list, which is complete before that thread starts.

#include "Framework/audio/CueShuffle.h"
#include "Framework/audio/IInitializationItem.h"
#include "Framework/audio/SoundFileList.h"
#include "Framework/audio/SoundList.h"
#include "Framework/core/AbstractSingleton.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Randomizer.h"

#include <AL/alc.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

// One OpenAL source and the sound it plays (or played last).
struct AudioSource {
    std::uint32_t source = 0; // OpenAL source name
    float volume = 0.0f;      // drawn from the sample's volume range
    float gain = 0.0f;        // volume x the volume asked for
    float pitch = 0.0f;       // drawn from the sample's pitch range
    double startTime = 0.0;   // secondsSinceStart when the sound started
    std::uint16_t playCount = 0; // raised for every sound started here; wraps
    bool looping = false;
};

class AudioHandler : public AbstractSingleton<AudioHandler>, public IInitializationItem {
public:
    class MusicPlayer;

    // Music player commands.
    enum MusicCommand : std::int32_t { PlayOnce = 0, PlayLooping = 1, StopMusic = 2, PauseMusic = 3 };

    // Opens nothing yet; declares the debug toggle "system"/"silent".
    AudioHandler();
    // Joins the music thread first, then frees sources, buffers, context and device.
    ~AudioHandler() override;

    // Connects to the SystemEvents focus lists, reads the sound list (an error there
    // leaves every cue silent and is logged), opens the default device and a context,
    // creates the sources, reads the file list, starts the music thread and decodes the
    // effects. Throws CheckReleaseError when there is no device or context.
    void init();

    // Initialisation in steps: the handler is complete after init, so these only report.
    void start() override { m_initialized = true; }
    void step() override {}
    bool isDone() const override { return m_initialized; }
    float progress() const override { return 0.0f; }
    void finish() override {}

    // The random choices of cues come from this generator (the program's global one once
    // start-up has made it; until then one seeded from the clock).
    void setRandomizer(Randomizer& randomizer) { m_randomizer = &randomizer; }

    // Plays the named cue once (loopMode 0) or looping (1). Pan -1 is full left, 0 the
    // centre, +1 full right; volume and pitch multiply the sample's drawn values. Returns
    // the sound's handle (source index in bits 0-15, the source's play count in bits
    // 16-31), or 0 when nothing plays: unknown cue, a cue without samples, a sample
    // without sound data, or a full group that may not be interrupted.
    std::uint32_t playCue(const std::string& name, int loopMode, float pan, float volume, float pitch);
    // The handle operations ignore a stale handle: one whose source has started another
    // sound since.
    void setPitch(std::uint32_t handle, float factor);
    void setVolumeAndPan(std::uint32_t handle, float pan, float volume);
    void stop(std::uint32_t handle);
    void stopAll();

    // Re-applies every source's gain and fires soundVolumeChanged; nothing when unchanged.
    void setSoundVolume(float volume);
    float soundVolume() const { return m_soundVolume; }

    // Music. A track is a path below "Music" without extension. With nothing playing the
    // track starts at once with a fade-in of `fade` seconds; while music plays the current
    // track fades out over `fade` seconds and then the new one starts looping with the
    // same fade-in (with fade <= 0 the switch happens at once).
    void playMusic(const std::string& track, float fade);
    // Fades the music out over `fade` seconds (at once when <= 0) and drops a queued track.
    void stopMusic(float fade);
    // Hands the track to the music player unless it is the current one already.
    void setMusicTrack(const std::string& track);
    // Starts the current track (mode 1 looping, otherwise once) with a fade-in.
    void startMusic(int mode, float fade);
    // Runs the fades and wakes the music thread; once per update step.
    void updateMusic(float dt);
    // Sends musicGain() to the music player.
    void updateMusicGain();
    // fade factor x musicFactor x musicVolume; 0 while "silent" is set or the window has
    // lost the focus.
    float musicGain() const;
    // Stores the volume, re-applies the music gain and fires musicVolumeChanged.
    void setMusicVolume(float volume);
    // A further music gain the game lowers while it wants the music quiet; same effects.
    void setMusicFactor(float factor);
    float musicVolume() const { return m_musicVolume; }
    float musicFactor() const { return m_musicFactor; }
    const std::string& currentTrack() const { return m_currentTrack; }
    const std::string& queuedTrack() const { return m_queuedTrack; }
    // True while the music thread streams a track (published after each of its passes).
    bool isMusicPlaying() const;

    const SoundList& soundList() const { return m_soundList; }
    const std::vector<AudioSource>& sources() const { return m_sources; }

    EventList<> musicVolumeChanged; // after the music volume or the music factor changed
    EventList<> soundVolumeChanged; // after setSoundVolume changed the sound volume

private:
    struct CueEntry {
        std::size_t cue = 0; // index into m_soundList.cues
        CueShuffle shuffle;
    };
    struct GroupSlot {
        int first = 0;    // first source index of the group
        int lastUsed = 0; // the search for a free source starts after this one
    };

    void createSources();
    void loadSampleBuffers();
    std::uint32_t loadSampleBuffer(const std::string& file) const;
    int chooseSource(std::int32_t group);
    AudioSource* sourceOf(std::uint32_t handle);

    float m_soundVolume = 1.0f;
    float m_musicVolume = 1.0f;
    float m_musicFactor = 1.0f;

    float m_fadeOutLeft = 0.0f; // -1 once a fade-out has ended
    float m_fadeOutLength = 0.0f;
    float m_fadeInLeft = 0.0f;
    float m_fadeInLength = 0.0f;
    std::string m_currentTrack;
    // The track that starts when the running fade-out ends.
    std::string m_queuedTrack;
    int m_queuedMode = 0;
    float m_queuedFade = 0.0f;

    std::vector<EventConnection> m_connections;
    bool m_focusLost = false;
    bool m_initialized = false;
    DebugFlag& m_silent;

    SoundList m_soundList;
    std::unordered_map<std::string, CueEntry> m_cueTable;
    SoundFileList m_fileList;
    // Sample file (as the sound list names it) -> OpenAL buffer name.
    std::unordered_map<std::string, std::uint32_t> m_buffers;
    std::vector<AudioSource> m_sources;
    std::vector<GroupSlot> m_groupSlots; // one per group

    Randomizer m_clockRandomizer;
    Randomizer* m_randomizer = &m_clockRandomizer;

    ALCdevice* m_device = nullptr;
    ALCcontext* m_context = nullptr;
    std::unique_ptr<MusicPlayer> m_musicPlayer;
};

} // namespace zor
