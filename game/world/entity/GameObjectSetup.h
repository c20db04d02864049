#pragma once
// Turns a freshly constructed, reset and placed (or loaded) game object into a physical one
// from its definition.

namespace zor {

class GameObject;
class Randomizer;

// In this order: friction, bounciness and air resistances; the facing with near-zero
// components snapped to 0; one body with the definition's collision box (turned with the
// facing for objects that rotate, rounded for those that round their position) and its
// sweep flag; the awake, sleep, integration and wake-mask settings. For actors then: the
// barrel flag, the animated parts (the definition's animation under its AnimationState
// part, and "PlayerLegs" under "legs" for the player; names that no compiled animation
// has give no part), five timers started at random from `random` and a cannon's aim.
void setupGameObject(GameObject& object, Randomizer& random);

} // namespace zor
