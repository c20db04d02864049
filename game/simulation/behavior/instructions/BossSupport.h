#pragma once
// What the boss and generator instructions share: the boss by the World's boss id, the
// animated parts by name, the music and the camera shake.

#include "Framework/core/math/Color.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zor {

class ActorObject;
class World;
struct BehaviorData;

namespace BossPart {
extern const std::string Body;
extern const std::string Eye;
extern const std::string Eyelids;
extern const std::string Hatch;
} // namespace BossPart

// The World's ambient colour while the force field is down.
constexpr PackedColor BossDarkGrey = PackedColor::fromChannels(40, 40, 40, 255);

// The live boss the World names, or null.
ActorObject* bossOf(const BehaviorData& data);
// The attack request is pending or the weapon has not cooled down yet.
bool attackUnderWay(const ActorObject& actor);
// Both copies of the weapon index, so the attack cycle does not switch back.
void chooseWeapon(ActorObject& actor, std::int32_t index);
// The music's attenuation through the game's audio; nothing without a simulator.
void setMusicAttenuation(const BehaviorData& data, float factor);
// Queued at the player, so that it is heard wherever the boss stands.
void queuePlayerSound(const BehaviorData& data, std::string_view cue);
// lerpColor with the fraction held to 0 to 1: past its end a fade stays at its last
// colour instead of wrapping the channels round.
PackedColor fadeColour(PackedColor from, PackedColor to, float fraction);
// A shake of no duration always applies, and so stops the running one.
void stopCameraShake(World& world);

} // namespace zor
