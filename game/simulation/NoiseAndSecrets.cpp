// Noises that enemies hear, and the reaction to a secret the light revealed.

#include "game/simulation/GameObjectSimulator.h"

#include "game/simulation/ports/UserInterface.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/level/Level.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/NameEnumerations.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/store/AchievementStore.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace zor {

namespace {

constexpr float NoiseInterval = 0.3f;
constexpr float NoiseDebugSeconds = 0.3f;
constexpr PackedColor NoiseDebugColor{0xff00ffff};
constexpr std::uint32_t HearingGroups = CollisionGroup::Enemies | CollisionGroup::WallEnemies;
constexpr float SecretBannerSeconds = 2.0f;

DebugFlag& noiseSwitch() {
    static DebugFlag& flag = declareDebugToggle(DebugToggle("noise", DebugToggle::Toggle, "game debug"));
    return flag;
}

bool showingNoise() { return noiseSwitch().load(std::memory_order_relaxed) && DebugDraw::exists(); }

// The chance that an actor with the threshold reacts to what it has heard.
float reactionChance(float heard, float low, float high) {
    if (high == low) return heard > high ? 1.0f : 0.0f;
    return (heard - low) / (high - low);
}

} // namespace

void GameObjectSimulator::makeNoise(GameObject& object, const NoiseLevel& level) {
    if (object.noiseCooldown > 0.0f && level.amount <= object.lastNoiseAmount) return;
    object.noiseCooldown += NoiseInterval;
    object.lastNoiseAmount = level.amount;
    emitNoise(level, object.getPosition(), object.id());
}

void GameObjectSimulator::emitNoise(const NoiseLevel& level, const fpVector2& position, std::int32_t sourceId) {
    if (!m_physics) return;
    const float radius = level.radius;
    m_overlapQuery.clear();
    m_physics->queryBodies(fpRect(position.x - radius, position.y - radius, 2.0f * radius, 2.0f * radius),
                           HearingGroups, m_overlapQuery);
    const bool debug = showingNoise();
    if (debug)
        DebugDraw::instance().worldLayer.addCircle(position.x, position.y, radius, NoiseDebugSeconds, NoiseDebugColor);

    for (PhysicalObject* physical : m_overlapQuery) {
        Entity* owner = physical->ownerEntity;
        if (!owner || owner->type() != EntityType::GameObject || owner->id() == sourceId) continue;
        auto& object = static_cast<GameObject&>(*owner);
        if (object.kind() != GameObjectKind::Actor || physical->bodies().empty()) continue;
        auto& actor = static_cast<ActorObject&>(object);
        const float distance = (actor.center() - position).length();
        if (!(distance < radius)) continue;
        const ActorDefinition& definition = actor.definition();
        const float low = definition.noiseThresholdLow;
        const float high = definition.noiseThresholdHigh;
        if (!(low > 0.0f || high > 0.0f)) continue;

        actor.heardNoise += level.amount * (1.0f - std::min(std::max(distance / radius, 0.0f), 1.0f));
        const float chance = reactionChance(actor.heardNoise, low, high);
        if (!(chance >= 1.0f || m_world.random().nextFloat() < chance)) continue;
        if (debug) {
            const fpVector2 at = actor.center();
            DebugDraw& draw = DebugDraw::instance();
            draw.addMessage(fpRect(at.x, at.y, 0.0f, 0.0f), draw.worldLayer, std::to_string(actor.heardNoise) + "!",
                            NoiseDebugSeconds, NoiseDebugColor);
        }
        actor.heardNoise = 0.0f;
        if (actor.behaviorMachine) actor.behaviorMachine->postEvent("heardNoise");
    }
}

void GameObjectSimulator::onSecretFound() {
    if (ActorObject* player = m_world.player()) player->pendingSounds.emplace_back("found_secret");
    const std::string line =
        LocalizationHandler::exists() ? LocalizationHandler::instance().getLine("found_secret") : "found_secret";
    m_userInterface.showBanner("banner_quest", "found_secret", line, SecretBannerSeconds);
    if (!m_world.level || !m_world.level->isCave) return;
    std::uint16_t& found = m_world.progress.secretsFound;
    // The count is saved in 16 bits: it stops at the top instead of starting over.
    if (found < std::numeric_limits<std::uint16_t>::max()) ++found;
    updateAchievementCounter(found, false, "cntr_found_secrets");
}

} // namespace zor
