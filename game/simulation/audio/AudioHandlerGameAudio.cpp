#include "game/simulation/audio/AudioHandlerGameAudio.h"

#include "Framework/audio/AudioHandler.h"

namespace zor {

std::uint32_t AudioHandlerGameAudio::start(const CueStart& cue) {
    if (!AudioHandler::exists()) return 0;
    return AudioHandler::instance().playCue(cue.cue, cue.loop ? 1 : 0, cue.mix.pan, cue.mix.volume, cue.pitch);
}

void AudioHandlerGameAudio::setVolumeAndPan(std::uint32_t handle, const ListenerMix& mix) {
    if (AudioHandler::exists()) AudioHandler::instance().setVolumeAndPan(handle, mix.pan, mix.volume);
}

void AudioHandlerGameAudio::setPitch(std::uint32_t handle, float factor) {
    if (AudioHandler::exists()) AudioHandler::instance().setPitch(handle, factor);
}

void AudioHandlerGameAudio::stop(std::uint32_t handle) {
    if (AudioHandler::exists()) AudioHandler::instance().stop(handle);
}

void AudioHandlerGameAudio::stopAllSounds() {
    if (AudioHandler::exists()) AudioHandler::instance().stopAll();
}

void AudioHandlerGameAudio::playMusic(const std::string& track, float fade) {
    if (AudioHandler::exists()) AudioHandler::instance().playMusic(track, fade);
}

void AudioHandlerGameAudio::stopMusic(float fade) {
    if (AudioHandler::exists()) AudioHandler::instance().stopMusic(fade);
}

void AudioHandlerGameAudio::setMusicAttenuation(float factor) {
    if (AudioHandler::exists()) AudioHandler::instance().setMusicFactor(factor);
}

} // namespace zor
