#pragma once
// Random launch directions and speeds for a weapon's trajectory. Each launch draws twice
// from the generator, the angle first, then the speed (one draw for the angle alone).

#include "game/definitions/ActorDefinition.h"

#include "Framework/core/math/Randomizer.h"
#include "Framework/core/math/Vector.h"

namespace zor {

// The velocity for an actor facing right, mirrored when it faces left.
fpVector2 randomLaunchVelocity(const WeaponTrajectory& trajectory, bool facingRight, Randomizer& random);
// The trajectory's angle added to `aimAngle` (radians) and kept inside the aim arc, whose
// centre is mirrored for an actor facing right; the velocity itself is never mirrored.
fpVector2 randomAimedLaunchVelocity(const WeaponTrajectory& trajectory, float aimAngle, bool facingRight,
                                    Randomizer& random);
// Radians; mirrored about the vertical when facing left.
float randomLaunchAngle(const WeaponTrajectory& trajectory, bool facingRight, Randomizer& random);

} // namespace zor
