#pragma once
// The game's audio over the engine's sound service. The listener is the centre of the
// player's body, or the centre of the view while there is no player; a positional cue
// is mixed against the width of the main viewport.

#include "game/simulation/audio/GameAudio.h"

namespace zor {

class World;

class AudioHandlerGameAudio final : public GameAudio {
public:
    // The World must outlive this object. Without a sound service every call does nothing.
    explicit AudioHandlerGameAudio(const World& world) : m_world(world) {}

    std::uint32_t playCue(const std::string& cue, float gain, float pitch, const std::optional<fpVector2>& position,
                          bool loop) override;
    void stop(std::uint32_t handle) override;
    void stopAllSounds() override;
    void stopMusic(float fade) override;
    void setMusicAttenuation(float factor) override;

private:
    fpVector2 listener() const;

    const World& m_world;
};

} // namespace zor
