#pragma once
// The player's own state loops: drawing water, charging a jump, the weapon's constant and
// charging sounds and the lamp refill, each started at the player while its state holds,
// with pitch ramps, and stopped (some with a closing cue) when it ends.

#include <cstdint>
#include <string>

namespace zor {

class ActorObject;
class GameAudio;
class World;

namespace presentation {

class PlayerLoops {
public:
    explicit PlayerLoops(GameAudio& audio) : m_audio(audio) {}

    // Starts, ramps and stops the loops for this step. The weapon loops advance the
    // player's attack pitch timer.
    void update(ActorObject& player, const World& world, float step);
    // Stops the loops that play; the jump ramp stays, so a charge that goes on after a
    // pause keeps its pitch.
    void stopAll();

private:
    void updateWater(ActorObject& player);
    void updateJumpCharge(const ActorObject& player, float step);
    void updateWeaponConstant(ActorObject& player, const World& world, float step);
    void updateCharging(ActorObject& player, float step);
    void updateLampRefill(const ActorObject& player);
    // Starts a loop at the player; 0 while it would be silent there (tried again next step).
    std::uint32_t startLoop(const std::string& cue, const ActorObject& player);
    void stop(std::uint32_t& handle);

    GameAudio& m_audio;
    std::uint32_t m_water = 0;
    float m_jumpRamp = 0.0f;
    std::uint32_t m_jumpCharge = 0;
    std::uint32_t m_charging = 0;
    std::uint32_t m_weaponConstant = 0;
    std::uint32_t m_lampRefill = 0;
};

} // namespace presentation
} // namespace zor
