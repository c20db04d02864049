#include "game/simulation/audio/AudioHandlerGameAudio.h"

#include "game/simulation/audio/ListenerMix.h"
#include "game/world/World.h"

#include "Framework/audio/AudioHandler.h"
#include "Framework/graphics/screen/Screen.h"

namespace zor {

namespace {

float mainViewWidth() {
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    return viewports.empty() ? 0.0f : viewports.front().virtualWidth;
}

} // namespace

fpVector2 AudioHandlerGameAudio::listener() const {
    const ActorObject* player = m_world.player();
    if (player && !player->physicalObject.bodies().empty()) return player->center();
    const fpRect& view = m_world.camera.visibleRect;
    return {view.x + view.w / 2.0f, view.y + view.h / 2.0f};
}

std::uint32_t AudioHandlerGameAudio::playCue(const std::string& cue, float gain, float pitch,
                                             const std::optional<fpVector2>& position, bool loop) {
    if (!AudioHandler::exists()) return 0;
    ListenerMix mix{1.0f, 0.0f};
    if (position) {
        mix = listenerMix(listener(), *position, 0.0f, mainViewWidth());
        if (mix.volume <= 0.0f) return 0;
    }
    return AudioHandler::instance().playCue(cue, loop ? 1 : 0, mix.pan, mix.volume * gain, pitch);
}

void AudioHandlerGameAudio::stop(std::uint32_t handle) {
    if (AudioHandler::exists()) AudioHandler::instance().stop(handle);
}

void AudioHandlerGameAudio::stopAllSounds() {
    if (AudioHandler::exists()) AudioHandler::instance().stopAll();
}

void AudioHandlerGameAudio::stopMusic(float fade) {
    if (AudioHandler::exists()) AudioHandler::instance().stopMusic(fade);
}

void AudioHandlerGameAudio::setMusicAttenuation(float factor) {
    if (AudioHandler::exists()) AudioHandler::instance().setMusicFactor(factor);
}

} // namespace zor
