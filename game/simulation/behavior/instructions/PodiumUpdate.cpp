#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"
#include "game/simulation/ports/UserInterface.h"

#include "game/definitions/UpgradeDefinition.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/log/LogHandler.h"

namespace zor {

namespace {

// The stages of the sequence, kept in the podium's named value "State".
enum Stage : int { Waiting = 0, Refill = 1, Grant = 2, Release = 3, MusicBack = 4, Over = 5 };

constexpr float RefillDelay = 0.5f;
constexpr float GrantDelay = 1.3f;
constexpr float ReleaseDelay = 1.0f;
constexpr float MusicDelay = 1.0f;
constexpr float SlideSeconds = 0.05f;
constexpr float MusicAttenuation = 0.5f;
constexpr float BannerSeconds = 2.5f;

void attenuateMusic(const BehaviorData& data, float factor) {
    if (data.simulator) data.simulator->audio().setMusicAttenuation(factor);
}

// The podium's upgrade, or null, logged once per podium name: the banner and the grant of
// a tool's start items need a registered upgrade.
const UpgradeDefinition* upgradeOrWarn(const BehaviorData& data, const std::string& upgrade,
                                       const std::string& podium) {
    const auto definition = findUpgradeDefinitionOrNull(upgrade);
    if (!definition && (!data.enemySimulator || data.enemySimulator->firstWarning("podium upgrade", upgrade)))
        LogHandler::log(LogHandler::Warning, "Behavior",
                        "The podium '" + podium + "' names the upgrade '" + upgrade +
                            "', which is not registered; no banner or start items for it");
    return definition.get();
}

std::string localized(const std::string& id) {
    return LocalizationHandler::exists() ? LocalizationHandler::instance().getLine(id) : id;
}

// The player slides onto the podium's centre and is held there.
void lockPlayer(ActorObject& podium, ActorObject& player, const BehaviorData& data) {
    const fpVector2 from = player.getPosition();
    const fpVector2 to(podium.center().x, from.y);
    player.setPosition(to);
    player.timedOffset = to - from;
    player.timedOffsetRemaining = SlideSeconds;
    player.timedOffsetDuration = SlideSeconds;
    player.busyFlags |= BusyFlag::Podium;
    player.physicalObject.velocity = fpVector2();
    attenuateMusic(data, MusicAttenuation);
}

void refill(ActorObject& podium, ActorObject& player, World& world) {
    const ActorDefinition& definition = player.definition();
    player.hitPoints = definition.hitPoints;
    player.water = definition.waterCapacity;
    player.lightTime = definition.lightTime;
    player.sendAnimationInput("assimilated", std::string());
    podium.sendAnimationInput("active", std::string());
    world.soundRequests.push_back({"power_up", podium.getPosition(), 1.0f});
}

// The first weapon and the first tool the upgrade unlocks become the current ones; the
// tool comes with the start items of the upgrade it counts.
void selectUnlocked(ActorObject& player, const std::string& upgrade, const BehaviorData& data,
                    const std::string& podium) {
    const ActorDefinition& definition = player.definition();
    const auto& weapons = definition.weapons;
    for (std::size_t index = 0; index < weapons.size(); ++index) {
        if (weapons[index].requiredUpgrade != upgrade) continue;
        player.weaponIndex = player.requestedWeapon = player.requestedWeaponIndex = std::int32_t(index);
        break;
    }
    const auto& tools = definition.tools;
    for (std::size_t index = 0; index < tools.size(); ++index) {
        if (tools[index].requiredUpgrade != upgrade) continue;
        player.toolIndex = player.requestedToolIndex = std::int32_t(index);
        const std::string& counted = tools[index].countedUpgrade;
        if (counted.empty()) break;
        if (const UpgradeDefinition* start = upgradeOrWarn(data, counted, podium))
            data.world->progress.items.counts[counted] += start->startWith;
        break;
    }
}

void grant(ActorObject& podium, ActorObject& player, const BehaviorData& data) {
    World& world = *data.world;
    const std::string& upgrade = podium.name;
    player.sendAnimationInput("yay", std::string());
    ++world.progress.items.counts[upgrade];
    world.itemGained.fire(upgrade);
    const UpgradeDefinition* definition = upgradeOrWarn(data, upgrade, upgrade);
    if (definition && data.userInterface)
        data.userInterface->showBanner("banner_upgrade", definition->bannerHeaderId,
                                       localized(definition->tier(1).title), BannerSeconds);
    world.soundRequests.push_back({"player_pickup_research", podium.getPosition(), 1.0f});
    selectUnlocked(player, upgrade, data, upgrade);
}

} // namespace

MachineInstruction podiumUpdate(ActorObject& podium, BehaviorData& data) {
    ActorObject* player = playerOf(data);
    if (!player) return MachineInstruction::Running;
    float& delay = namedEntry(podium.namedValues, "Delay");
    float& stage = namedEntry(podium.namedValues, "State");
    delay -= data.stepTime();
    const bool expired = delay <= 0.0f;

    switch (int(stage)) {
    case Waiting:
        if (itemCount(podium.name, data.world->progress.items) > 0) {
            podium.sendAnimationInput("disabled", std::string());
            post(podium, "done");
            stage = Over;
        } else if (firstBodiesOverlap(podium, *player)) {
            lockPlayer(podium, *player, data);
            delay = RefillDelay;
            stage = Refill;
        }
        break;
    case Refill:
        if (!expired) break;
        refill(podium, *player, *data.world);
        delay = GrantDelay;
        stage = Grant;
        break;
    case Grant:
        if (!expired) break;
        grant(podium, *player, data);
        delay = ReleaseDelay;
        stage = Release;
        break;
    case Release:
        if (!expired) break;
        podium.sendAnimationInput("active", std::string());
        post(podium, "done");
        player->busyFlags &= ~BusyFlag::Podium;
        delay = MusicDelay;
        stage = MusicBack;
        break;
    case MusicBack:
        if (!expired) break;
        attenuateMusic(data, 1.0f);
        stage = Over;
        break;
    default:
        break;
    }
    return MachineInstruction::Running;
}

} // namespace zor
