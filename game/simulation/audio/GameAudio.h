#pragma once
// The simulation's way to the sound service: cues with or without a place in the level,
// and the music's attenuation. Main thread only (the Game's update, not its builds).

#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zor {

class GameAudio {
public:
    virtual ~GameAudio() = default;

    // Plays the cue once, or looping; with a position it is mixed by where the position
    // lies from the listener and not started at all out of hearing. Returns the handle,
    // 0 when nothing plays.
    virtual std::uint32_t playCue(const std::string& cue, float gain, float pitch,
                                  const std::optional<fpVector2>& position, bool loop = false) = 0;
    // A stale or zero handle is ignored.
    virtual void stop(std::uint32_t handle) = 0;
    virtual void stopAllSounds() = 0;
    // Fades the music out over `fade` seconds (at once when not positive).
    virtual void stopMusic(float fade) = 0;
    // A factor of the music gain, 1 normally; the new gain applies at once.
    virtual void setMusicAttenuation(float factor) = 0;
};

} // namespace zor
