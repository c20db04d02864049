#include "game/simulation/behavior/instructions/BossSupport.h"

#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include <algorithm>

namespace zor {

namespace {

constexpr std::int32_t StopShakeCurve = 10;

} // namespace

namespace BossPart {
const std::string Body = "body";
const std::string Eye = "eye";
const std::string Eyelids = "eyelids";
const std::string Hatch = "hatch";
} // namespace BossPart

ActorObject* bossOf(const BehaviorData& data) {
    if (!data.world || data.world->bossId == 0) return nullptr;
    GameObject* boss = data.world->findGameObject(data.world->bossId);
    if (!boss || boss->kind() != GameObjectKind::Actor) return nullptr;
    return static_cast<ActorObject*>(boss);
}

bool attackUnderWay(const ActorObject& actor) {
    return actor.attackPressed || actor.weaponCooldown > 0.0f || actor.attackTimer > 0.0f;
}

void chooseWeapon(ActorObject& actor, std::int32_t index) {
    actor.weaponIndex = index;
    actor.requestedWeapon = index;
}

void setMusicAttenuation(const BehaviorData& data, float factor) {
    if (data.simulator) data.simulator->audio().setMusicAttenuation(factor);
}

void queuePlayerSound(const BehaviorData& data, std::string_view cue) {
    if (ActorObject* player = playerOf(data)) player->pendingSounds.emplace_back(cue);
}

PackedColor fadeColour(PackedColor from, PackedColor to, float fraction) {
    return lerpColor(from, to, std::clamp(fraction, 0.0f, 1.0f));
}

void stopCameraShake(World& world) { world.shakeCamera(0.0f, 0.0f, StopShakeCurve); }

} // namespace zor
