#pragma once
// The enemy search that the combat and boss instructions share.

#include "game/simulation/behavior/MachineInstruction.h"

#include "Framework/core/math/Rect.h"

namespace zor {

class ActorObject;
struct BehaviorData;

// Sets the actor's target to the nearest actor of its enemies in the rectangle that is not
// busy (and, for a cannon, lies in its arc), or to 0; posts "foundEnemy" or "notFoundEnemy".
MachineInstruction findEnemyInRect(ActorObject& actor, BehaviorData& data, const fpRect& rect);

} // namespace zor
