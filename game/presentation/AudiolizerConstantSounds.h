#pragma once
// The looping constant sounds of actors and beams: each step the ids the simulation
// listed (ascending) are merged with the ones tracked so far. A sound whose entity left
// the list stops, one that stays follows the listener, and a new one starts, also silent.

#include <cstdint>
#include <vector>

namespace zor {

class GameAudio;
class World;

namespace presentation {

struct TrackedSound {
    std::int32_t id = 0;
    std::uint32_t handle = 0;  // 0: no sound was started for the entity
};

class ConstantSounds {
public:
    ConstantSounds(const World& world, GameAudio& audio) : m_world(world), m_audio(audio) {}

    // `ids` ascending; a repeated id counts once.
    void sync(const std::vector<std::int32_t>& ids);
    // Stops every tracked sound and forgets them.
    void stopAll();

    // Ascending by id.
    const std::vector<TrackedSound>& tracked() const { return m_tracked; }

private:
    std::uint32_t start(std::int32_t id);
    void follow(const TrackedSound& sound);

    const World& m_world;
    GameAudio& m_audio;
    std::vector<TrackedSound> m_tracked;
    std::vector<TrackedSound> m_merged;  // kept for its capacity
};

} // namespace presentation
} // namespace zor
