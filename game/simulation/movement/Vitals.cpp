#include "game/simulation/movement/MovementRules.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/WorldText.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/math/Randomizer.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

constexpr float FullLampScale = 1.3f;
constexpr float FlickerBelow = 0.1f;  // share of the lamp's time
constexpr float FadeOutBelow = 0.0013f;

void queueCue(World& world, const ActorObject& actor, const std::string& cue) {
    world.soundRequests.push_back(SoundRequest{cue, actor.getPosition(), 1.0f});
}

void runLampDown(GameObjectSimulator& objects, ActorObject& actor, float step) {
    const ActorDefinition& definition = actor.definition();
    if (actor.lightTime > 0.0f) {
        actor.lightTime = std::max(0.0f, actor.lightTime - step);
        actor.lightWarningTimer = 0.0f;
    }
    if (actor.lightTime > 0.0f || definition.lightDepletedFrequency == 0.0f) return;
    actor.lightWarningTimer -= step;
    if (actor.lightWarningTimer > 0.0f) return;
    actor.lightWarningTimer = definition.lightDepletedFrequency;
    objects.showPlayerMessage("light_time_depleted");
    queueCue(objects.world(), actor, "light_time_depleted");
}

} // namespace

void updateVitals(GameObjectSimulator& objects, ActorObject& actor, float step) {
    const ActorDefinition& definition = actor.definition();
    World& world = objects.world();
    actor.hitPoints = std::min(definition.hitPoints, actor.hitPoints + definition.hitPointRegeneration * step);
    actor.water = std::min(definition.waterCapacity, actor.water + definition.waterRegeneration * step);

    const Level* level = world.level.get();
    if (definition.lightTime != 0.0f && !(level && level->disableLight)) {
        if (!world.screenOpen) runLampDown(objects, actor, step);
        updateLampLight(actor, objects.levelTime());
    }

    if (actor.hasIdleSound && actor.idleSoundCountdown > 0.0f) {
        actor.idleSoundCountdown -= step;
        if (actor.idleSoundCountdown <= 0.0f) {
            const float spread = definition.idleSoundRandomTime;
            if (spread > 0.0f) actor.idleSoundCountdown += world.random().nextFloatRange(-spread, spread);
            actor.idleSoundCountdown += definition.idleSoundTime;
            if (!definition.idleSound.empty()) queueCue(world, actor, definition.idleSound);
        }
    }
}

void updateLampLight(ActorObject& actor, float levelTime) {
    const ActorDefinition& definition = actor.definition();
    const float fill =
        definition.lightTime != 0.0f ? std::clamp(actor.lightTime / definition.lightTime, 0.0f, 1.0f) : 0.0f;
    // A definition without a light scale counts as scale 1 rather than an endless light.
    const float plain = definition.light.scale > 0.0f ? 1.0f / definition.light.scale : 1.0f;
    actor.lightScale = plain + (FullLampScale - plain) * fill;
    if (fill >= FlickerBelow) {
        actor.lightStrength = 1.0f;
        return;
    }
    const float k = fill / FlickerBelow;
    const float fade = std::min(1.0f, fill / FadeOutBelow);
    const float wave = (1.0f - std::fabs(std::sin(23.22f * levelTime + 0.312f))) * std::sin(32.0f * levelTime);
    actor.lightStrength = ((0.55f + 0.45f * (1.0f - std::fabs(wave))) * (1.0f - k) + k * k) * fade;
}

float maxRecentPlayerSpeed(const GameObjectSimulator& objects) {
    const auto& history = objects.playerSpeedHistory;
    return history.empty() ? 0.0f : *std::max_element(history.begin(), history.end());
}

void drainWater(ActorObject& actor, float amount) {
    actor.water = std::max(0.0f, actor.water - (1.0f - actor.definition().waterReduction) * amount);
}

void endDoubleJumpAnimation(ActorObject& actor) {
    actor.doubleJumpActive = false;
    actor.sendAnimationInput("jump_quellox_end", actor.definition().animationState);
}

void endDoubleJumpAnimationWhenSettled(ActorObject& actor) {
    if (actor.jumpCount == 0 || std::fabs(actor.physicalObject.velocity.y) <= 150.0f) endDoubleJumpAnimation(actor);
}

} // namespace zor
