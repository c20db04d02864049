#pragma once
// The game's audio over the engine's sound service.

#include "game/simulation/audio/GameAudio.h"

namespace zor {

class AudioHandlerGameAudio final : public GameAudio {
public:
    // Without a sound service every call does nothing.
    using GameAudio::GameAudio;

    void setVolumeAndPan(std::uint32_t handle, const ListenerMix& mix) override;
    void setPitch(std::uint32_t handle, float factor) override;
    void stop(std::uint32_t handle) override;
    void stopAllSounds() override;
    void playMusic(const std::string& track, float fade) override;
    void stopMusic(float fade) override;
    void setMusicAttenuation(float factor) override;

protected:
    std::uint32_t start(const CueStart& cue) override;
};

} // namespace zor
