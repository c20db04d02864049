#pragma once
// The simulation's and the presentation's way to the sound service: cues with or without
// a place in the level, sounds that follow the listener, and the music. The listener is
// the centre of the player's body, or the centre of the view while there is no player; a
// place is mixed against the width of the main viewport. Main thread only (the Game's
// update, not its builds).

#include "game/simulation/audio/ListenerMix.h"

#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zor {

class World;

class GameAudio {
public:
    // The World must outlive this object.
    explicit GameAudio(const World& world) : m_world(world) {}
    virtual ~GameAudio() = default;
    GameAudio(const GameAudio&) = delete;
    GameAudio& operator=(const GameAudio&) = delete;

    // How loud and where a sound at the point is heard; a range that is not positive
    // means the default one.
    ListenerMix mixAt(const fpVector2& point, float range = 0.0f) const;
    // A sound along the segment is heard from the segment's point nearest the listener.
    ListenerMix mixAlong(const fpVector2& from, const fpVector2& to, float range = 0.0f) const;

    // Plays the cue once, or looping; with a position it is mixed there (default range)
    // and not started at all where the volume is 0. Returns the handle, 0 when nothing
    // plays.
    std::uint32_t playCue(const std::string& cue, float gain, float pitch, const std::optional<fpVector2>& position,
                          bool loop = false);
    // Starts the cue with the mix given, also when it is silent: a sound whose mix
    // follows the listener with setVolumeAndPan.
    std::uint32_t playMixed(const std::string& cue, bool loop, const ListenerMix& mix, float pitch);

    // The handle operations ignore a stale or zero handle.
    virtual void setVolumeAndPan(std::uint32_t handle, const ListenerMix& mix) = 0;
    virtual void setPitch(std::uint32_t handle, float factor) = 0;
    virtual void stop(std::uint32_t handle) = 0;
    virtual void stopAllSounds() = 0;
    // With no music playing the track fades in over `fade` seconds; otherwise the music
    // fades out over that time and the track follows.
    virtual void playMusic(const std::string& track, float fade) = 0;
    // Fades the music out over `fade` seconds (at once when not positive) and drops a
    // track waiting for the fade.
    virtual void stopMusic(float fade) = 0;
    // A factor of the music gain, 1 normally; the new gain applies at once.
    virtual void setMusicAttenuation(float factor) = 0;

protected:
    // One cue to start; the position, when the cue has one, only for those who note it.
    struct CueStart {
        const std::string& cue;
        bool loop;
        ListenerMix mix;
        float pitch;
        const std::optional<fpVector2>& position;
    };
    // Returns the handle, 0 when nothing plays.
    virtual std::uint32_t start(const CueStart& cue) = 0;

private:
    fpVector2 listener() const;

    const World& m_world;
};

} // namespace zor
