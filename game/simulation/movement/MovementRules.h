#pragma once
// The parts of the actor step between the ground check and the animation: vital values
// and the lamp, ladders, walking, water and acid pools, and every kind of jump (plain,
// double, charged with steam, off a jump plate, off a wall). The same rules move the
// player and the other actors; only who fills the intent fields differs. Main thread.

#include <string>

namespace zor {

class ActorObject;
class GameObjectSimulator;
struct ObjectStepContext;

// Regeneration, the lamp's countdown, warning, scale and flicker, and the idle sound.
void updateVitals(GameObjectSimulator& objects, ActorObject& actor, float step);
// The lamp's light scale and strength for its fill: 1 / s up to 1.3 at full (s the
// definition's light scale); below a tenth it flickers with the level time.
void updateLampLight(ActorObject& actor, float levelTime);
// The player grabs, climbs and lets go of ladders.
void updateLadder(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context);
void updateWalking(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context);
// Running, the wall slide's effects, landing effects, the jump count and friction.
void updateRunning(ActorObject& actor);
void updateWallSlide(GameObjectSimulator& objects, ActorObject& actor, float step);
void showLandingEffect(GameObjectSimulator& objects, const ActorObject& actor, const ObjectStepContext& context);
void countJumps(ActorObject& actor);
void applyFriction(ActorObject& actor);
// In a pool's water: half gravity, at most 140 px/s, the player's tank refilled from the
// pool's; the splashes on the way in and out.
void updatePool(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context);
void updateJumps(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context);

// water := max(0, water - (1 - WaterReduction) x amount).
void drainWater(ActorObject& actor, float amount);
void endDoubleJumpAnimation(ActorObject& actor);
// Only once the actor has landed or no longer moves fast vertically.
void endDoubleJumpAnimationWhenSettled(ActorObject& actor);
// The largest of the player's recent horizontal speeds; 0 while none is recorded.
float maxRecentPlayerSpeed(const GameObjectSimulator& objects);

} // namespace zor
