// The end of the fight: the barriers vanish, explosions run over the boss, the screen
// turns white, then black, and the game moves to the ending level. The World's boss phase
// counts the steps of the sequence, 3 to 8, each lasting the fight's sequence timer.

#include "game/simulation/behavior/instructions/BossInstructions.h"

#include "game/simulation/Simulator.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/BossFight.h"
#include "game/simulation/behavior/instructions/BossSupport.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/definitions/NameEnumerations.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/math/Randomizer.h"

#include <array>
#include <cstdint>

namespace zor {

namespace {

constexpr const char* EndingLevel = "shalebury_end";
constexpr PackedColor ClearWhite{0x00FFFFFF};
constexpr float WhiteFadeSeconds = 6.0f;
constexpr float WhiteHoldSeconds = 3.0f;
constexpr float BlackFadeSeconds = 2.0f;
constexpr float BlackHoldSeconds = 2.5f;
const std::array<const char*, 3> ExplosionEffects = {"explosion_egg_large", "explosion_egg_small", "boss_explosion"};

void removeBarriers(World& world) {
    for (const auto& [id, object] : world.gameObjects())
        if (object->kind() == GameObjectKind::Actor &&
            static_cast<ActorObject*>(object)->definition().specialType == SpecialType::Barrier)
            world.removeEntity(object);
}

void leaveForTheEnding(ActorObject& boss, const BehaviorData& data) {
    World& world = *data.world;
    post(boss, "done");
    world.overlayStrength = 0.0f;
    world.ambientColor = colorWhite();
    setMusicAttenuation(data, 1.0f);
    world.bossPhase = 8;
    if (!data.simulator) return;
    data.simulator->requestLevel(EndingLevel, Simulator::StartEntry, fpVector2());
    data.simulator->finishQuests();
}

} // namespace

// The fades end on a step with the timer a little below 0, so they are held to their
// ends. The heartbeat countdowns set here pace the explosions that the boss's heartbeat sets off.
MachineInstruction itIsOverNow(ActorObject& boss, BehaviorData& data) {
    World& world = *data.world;
    float& timer = data.bossFight->sequenceTimer;
    timer -= data.stepTime();
    const bool over = timer <= 0.0f;
    switch (world.bossPhase) {
    case 3:
        if (data.firstStep) {
            boss.heartbeatCountdown = world.random().nextFloatRange(0.4f, 0.7f);
            removeBarriers(world);
        }
        if (over) {
            world.overlayStrength = 1.0f;
            world.bossPhase = 4;
            timer = WhiteFadeSeconds;
        }
        break;
    case 4:
        if (data.firstStep) boss.heartbeatCountdown = world.random().nextFloatRange(0.2f, 0.3f);
        world.tintColor = fadeColour(colorWhite(), ClearWhite, timer / WhiteFadeSeconds);
        if (over) {
            if (ActorObject* player = playerOf(data)) player->sendAnimationInput("assimilated", std::string());
            timer = WhiteHoldSeconds;
            world.bossPhase = 5;
        }
        break;
    case 5:
        world.overlayStrength = timer / WhiteHoldSeconds;
        boss.heartbeatCountdown = 1.0f;
        if (over) {
            world.overlayStrength = 0.0f;
            world.bossPhase = 6;
            timer = BlackFadeSeconds;
        }
        break;
    case 6:
        world.tintColor = fadeColour(colorWhite(), colorBlack(), 1.0f - timer / BlackFadeSeconds);
        if (over) {
            world.bossPhase = 7;
            timer = BlackHoldSeconds;
        }
        break;
    case 7:
        boss.heartbeatCountdown = 1.0f;
        if (over) leaveForTheEnding(boss, data);
        break;
    default:
        break;
    }
    return MachineInstruction::Running;
}

// The offset is drawn y first; the explosions spread wider once the screen turns white.
MachineInstruction explosion(ActorObject& boss, BehaviorData& data) {
    World& world = *data.world;
    const std::int32_t phase = world.bossPhase;
    if (phase <= 4) {
        const float spread = phase == 4 ? 150.0f : 50.0f;
        Randomizer& random = world.random();
        const float dy = random.nextFloat() * 2.0f * spread - spread;
        const float dx = random.nextFloat() * 2.0f * spread - spread;
        const char* effect = ExplosionEffects[random.nextIndex(std::uint32_t(ExplosionEffects.size()))];
        world.spawnEffect(effect, boss.center() + fpVector2(dx, dy), 0.0f, 1.0f);
    }
    post(boss, "done");
    return MachineInstruction::Running;
}

} // namespace zor
