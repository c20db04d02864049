#pragma once
// The walking state of a townsperson: where it patrols, how it pauses and turns, and where
// scripts send it. Made on first use by ActorObject::npcBehaviorData.

#include "Framework/core/math/Rect.h"

#include <cstdint>

namespace zor {

struct NPCBehaviorData {
    // The patrolled area; on creation moved by the actor's position, so it spans 60 px to
    // either side of the spawn point and 1000 px above and below it.
    fpRect homeArea{-60.0f, -1000.0f, 120.0f, 2000.0f};
    // Positive: walking time left; negative: pause time left, counting up to 0 (seconds).
    float patrolTimer = 0.0f;
    // Pixels within which the player is noticed; 0 never notices.
    float noticeDistance = 80.0f;
    // The chance that a pause ends in turning about and pausing again.
    float turnChance = 0.4f;
    float minPause = 1.7f;  // seconds
    float maxPause = 3.0f;
    float minWalk = 1.0f;
    float maxWalk = 2.0f;
    // The entity to walk to; 0: walk to targetX.
    std::uint32_t targetId = 0;
    // Set to the actor's x on creation.
    float targetX = 0.0f;
    // -1, 0 or +1 for a walk to targetX; 0: not chosen yet.
    float walkDirection = 0.0f;
    // Horizontal distance to the target entity that counts as arrived.
    float arrivalDistance = 0.0f;
    // Forget the target entity and report the arrival once it is reached.
    bool releaseOnArrival = false;
    float teleportTimer = 0.0f;  // seconds
};

} // namespace zor
