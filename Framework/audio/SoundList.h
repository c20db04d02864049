#pragma once
// The sound list "Audio/sounds.xml": source groups (how many sounds of a kind may play at
// once, and whether a new one may cut off the oldest) and sound cues (named sets of
// samples, each with its own volume and pitch ranges).

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

struct AudioSourceGroup {
    // The number of OpenAL sources the group owns.
    std::int32_t maxSimultaneousSounds = 0;
    // A full group refuses new sounds instead of stopping its oldest one.
    bool notInterruptible = false;
};

struct AudioSample {
    // A path below "Sounds", without extension.
    std::string file;
    float volumeMin = 0.0f;
    float volumeMax = 0.0f;
    float pitchMin = 0.0f;
    float pitchMax = 0.0f;
    // Chance weight of shuffled drawing.
    float weight = 0.0f;
    // The same number for every sample naming the same file, from 1 in load order.
    int fileIndex = 0;
    // Kept from the file; playback does not depend on it.
    bool localized = false;
};

struct AudioCue {
    enum Selection : std::int32_t { Random = 0, Shuffle = 1 };

    std::string name;
    std::int32_t selection = Random;
    // Index into the list's groups.
    std::int32_t group = 0;
    std::vector<AudioSample> samples;
};

struct SoundList {
    std::vector<AudioSourceGroup> groups;
    std::vector<AudioCue> cues;
};

// All handles carry a source index in 16 bits, so all groups together own at most this
// many sources.
constexpr std::int32_t MaxAudioSources = 0xFFFF;

// Reads the sound list at `path` (a game data file). On success a non-empty set of groups
// replaces list.groups and a non-empty set of cues replaces list.cues, and the result is
// true. On any error nothing changes, `error` receives the text and the result is false.
// Group sizes are clamped to 0 .. MaxAudioSources in total, with a warning in the log.
bool loadSoundList(const std::string& path, SoundList& list, std::string& error);

} // namespace zor
