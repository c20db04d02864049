#pragma once
// What the instruction handlers share: posting to the actor's own machine, the
// actor's named timers, and the tests against the player character.

#include "Framework/core/math/Rect.h"

#include <map>
#include <string>
#include <string_view>

namespace zor {

class ActorObject;
class GameObject;
struct BehaviorData;

// Posts to the actor's own behaviour machine; handlers only run for actors that have one.
void post(ActorObject& actor, std::string_view input);

// The value of the name, made at 0 on first use.
float& namedEntry(std::map<std::string, float, std::less<>>& values, std::string_view name);

// The bounds of the object's first body; an empty rectangle at its position without one.
fpRect firstBodyBounds(const GameObject& object);
// The centre of firstBodyBounds.
fpVector2 firstBodyCentre(const GameObject& object);
// The first bodies of the two objects overlap; touching edges do not.
bool firstBodiesOverlap(const GameObject& a, const GameObject& b);

// The player character, or null when the World has none (or has only a dead one queued
// for removal).
ActorObject* playerOf(const BehaviorData& data);

} // namespace zor
