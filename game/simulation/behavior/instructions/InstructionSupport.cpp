#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/simulation/behavior/BehaviorData.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

namespace zor {

void post(ActorObject& actor, std::string_view input) { actor.behaviorMachine->postEvent(input); }

float& namedEntry(std::map<std::string, float, std::less<>>& values, std::string_view name) {
    const auto found = values.find(name);
    if (found != values.end()) return found->second;
    return values.emplace(std::string(name), 0.0f).first->second;
}

fpRect firstBodyBounds(const GameObject& object) {
    const auto& bodies = object.physicalObject.bodies();
    if (!bodies.empty()) return bodies.front().getBounds();
    // An object without bodies is a point where it stands.
    const fpVector2 position = object.getPosition();
    return {position.x, position.y, 0.0f, 0.0f};
}

fpVector2 firstBodyCentre(const GameObject& object) {
    const fpRect bounds = firstBodyBounds(object);
    return {bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
}

bool firstBodiesOverlap(const GameObject& a, const GameObject& b) {
    return rectsOverlap(firstBodyBounds(a), firstBodyBounds(b));
}

ActorObject* playerOf(const BehaviorData& data) {
    ActorObject* player = data.world ? data.world->player() : nullptr;
    return player && player->alive() ? player : nullptr;
}

} // namespace zor
