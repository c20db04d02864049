// Reads arbitrary text as the sound list "Audio/sounds.xml". A list that is accepted keeps
// the group sizes within the sources there are, and every cue names a group of the list
// and a known way of choosing its samples; a refused one changes nothing and says why.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_sound_list
//   build-fuzz/fuzz/fuzz_sound_list -max_total_time=60 build-fuzz/fuzz/corpus/sound_list

#include "Framework/audio/SoundList.h"
#include "fuzz/support/FuzzFolders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    zor::fuzz::writeInput(zor::FileLocation::GameData, "Audio/sounds.xml", data, size);
    zor::SoundList list;
    list.groups.push_back({3, false});
    std::string error;
    if (!zor::loadSoundList("Audio/sounds.xml", list, error)) {
        check(!error.empty() && list.groups.size() == 1 && list.cues.empty());
        return 0;
    }
    std::int64_t sources = 0;
    for (const zor::AudioSourceGroup& group : list.groups) {
        check(group.maxSimultaneousSounds >= 0);
        sources += group.maxSimultaneousSounds;
    }
    check(sources <= zor::MaxAudioSources);
    for (const zor::AudioCue& cue : list.cues) {
        check(cue.group >= 0 && std::size_t(cue.group) < list.groups.size());
        check(cue.selection == zor::AudioCue::Random || cue.selection == zor::AudioCue::Shuffle);
    }
    return 0;
}
