#pragma once
// Places the World's camera for one step: it follows the player smoothly (60 x step of the
// way-factor per axis, never overshooting, snapping within 1.5 px), adds the shake, runs
// the pan (holding the player with busy flag 8 while it runs) and the lean toward the
// focus target, then keeps the view behind the level's camera lines and, unless the level
// says otherwise, inside the level. Nothing without a player. Main thread.

namespace zor {

class World;

void updateCamera(World& world, float step);

} // namespace zor
