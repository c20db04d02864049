#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/Simulator.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"
#include "game/simulation/ports/UserInterface.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/NPCBehaviorData.h"
#include "game/world/level/Level.h"

#include <algorithm>

namespace zor {

namespace {

constexpr float TeleportSeconds = 0.8f;
// The player is pulled onto the pad until this much of the teleport is left.
constexpr float PullEndsAt = 0.64f;
constexpr const char* TownEntry = "[teleporter]";
constexpr PackedColor ClearWhite{0x00FFFFFF};

bool inTown(const World& world) { return world.level && world.level->name == Level::TownName; }

// The town's teleporter leads back to the stored return point; without one it leads
// nowhere and must not start, or the screen would go white for good.
bool hasDestination(const World& world) { return !inTown(world) || !world.progress.returnLevel.empty(); }

void start(ActorObject& pad, ActorObject& player) {
    pad.npcBehaviorData().teleportTimer = TeleportSeconds;
    pad.sendAnimationInput("active", std::string());
    pad.pendingSounds.emplace_back("teleport");
    player.sendAnimationInput("assimilated", std::string());
    player.busyFlags |= BusyFlag::Teleport;
}

// A pad named "level;entry" leads there, one named with a level alone to its default
// entry, an unnamed one to the town's teleporter; in the town, back to the return point.
void arrive(ActorObject& pad, ActorObject& player, const BehaviorData& data) {
    player.busyFlags &= ~BusyFlag::Teleport;
    World& world = *data.world;
    std::string level;
    std::string entry;
    fpVector2 position;
    if (inTown(world)) {
        level = world.progress.returnLevel;
        position = world.progress.returnPosition;
    } else if (pad.name.empty()) {
        level = Level::TownName;
        entry = TownEntry;
    } else {
        const std::size_t separator = pad.name.find(';');
        level = pad.name.substr(0, separator);
        if (separator != std::string::npos) entry = pad.name.substr(separator + 1);
    }
    if (level == Level::TownName) world.storeReturnPoint(pad);
    if (data.simulator) data.simulator->requestLevel(level, entry, position);
}

// The screen whitens over the whole teleport while the player is drawn onto the pad.
void carry(const ActorObject& pad, ActorObject& player, float remaining, const BehaviorData& data) {
    data.world->tintColor = lerpColor(colorWhite(), ClearWhite, remaining / TeleportSeconds);
    const fpVector2 target = pad.getPosition();
    if (remaining > PullEndsAt) {
        const fpVector2 from = player.getPosition();
        const float share = std::min(1.0f, data.stepTime() / (remaining - PullEndsAt));
        player.setPosition(from + (target - from) * share);
    } else {
        player.setPosition(target);
    }
}

} // namespace

MachineInstruction teleporter(ActorObject& pad, BehaviorData& data) {
    ActorObject* player = playerOf(data);
    if (!player) return MachineInstruction::Running;
    float& timer = pad.npcBehaviorData().teleportTimer;
    if (player->busyFlags == 0) {
        if (!firstBodiesOverlap(pad, *player) || !hasDestination(*data.world)) return MachineInstruction::Running;
        if (player->activatePressed)
            start(pad, *player);
        else if (data.userInterface && !(data.simulator && data.simulator->levelChangePending()))
            data.userInterface->showIndicator("activate", std::string());
        return MachineInstruction::Running;
    }
    // Busy with something else, or the teleport is over.
    if (!(timer > 0.0f)) return MachineInstruction::Running;
    if (!player->isAlive()) {
        timer = 0.0f;
        return MachineInstruction::Running;
    }
    timer -= data.stepTime();
    if (timer <= 0.0f)
        arrive(pad, *player, data);
    else
        carry(pad, *player, timer, data);
    return MachineInstruction::Running;
}

MachineInstruction townTeleporterVisibility(ActorObject& pad, BehaviorData& data) {
    pad.visible = !data.world->progress.returnLevel.empty();
    post(pad, "done");
    return MachineInstruction::Finished;
}

MachineInstruction deleteTeleporter(ActorObject& pad, BehaviorData& data) {
    World& world = *data.world;
    float& timer = pad.npcBehaviorData().teleportTimer;
    if (timer >= 0.0f) {
        // Ends the white fade of a teleport under way.
        timer = 0.0f;
        world.tintColor = PackedColor(world.tintColor.value & 0x00FFFFFFu);
        if (ActorObject* player = playerOf(data)) {
            player->busyFlags &= ~BusyFlag::Teleport;
            player->sendAnimationInput("abort", std::string());
        }
    }
    if (world.progress.returnPosition == pad.getPosition()) world.clearReturnPoint();
    pad.hitPoints = 0.0f;
    return MachineInstruction::Running;
}

} // namespace zor
