#pragma once
// What a touch found by the level's physics means for the game. The handler runs inside a
// sweep (main thread) and answers the sweep only through the contact's flags; it may move
// other objects with PhysicsSystem::moveObjectTo but never sweeps the mover again.

#include "Framework/core/math/Rect.h"

namespace zor {

class ActorObject;
class Beam;
class GameObject;
class GameObjectSimulator;
class Projectile;
struct PhysicalCollision;

// The physics' contact callback.
void handleContact(GameObjectSimulator& objects, PhysicalCollision& contact);

// `mover` owns the contact's body.
void actorActorContact(GameObjectSimulator& objects, PhysicalCollision& contact, ActorObject& mover,
                       ActorObject& other);
void actorObjectContact(GameObjectSimulator& objects, PhysicalCollision& contact, ActorObject& actor,
                        GameObject& other);
void projectileContact(GameObjectSimulator& objects, Projectile& projectile, PhysicalCollision& contact);
void beamActorContact(GameObjectSimulator& objects, Beam& beam, ActorObject& actor, PhysicalCollision& contact);
void beamProjectileContact(GameObjectSimulator& objects, Beam& beam, Projectile& projectile);
// True when the touch was taken as a bounce off the bouncer's free face.
bool bounce(GameObjectSimulator& objects, ActorObject& bouncer, PhysicalCollision& contact, GameObject& mover);
// The rectangle reaches into the filled lower part of the pool.
bool inPoolWater(const ActorObject& pool, const fpRect& rect);

// Touches of the tile map or the level bounds, and the floor, wall and ceiling rules every
// blocking touch of an actor shares.
void levelContact(GameObjectSimulator& objects, GameObject& object, PhysicalCollision& contact);
void checkLanding(GameObjectSimulator& objects, GameObject& object, const PhysicalCollision& contact);
void wallSlide(GameObjectSimulator& objects, GameObject& object, const PhysicalCollision& contact);
void headBump(GameObjectSimulator& objects, GameObject& object, PhysicalCollision& contact);
// True only when at least one solid cell lay under the actor and every one of them broke.
bool fallDig(GameObjectSimulator& objects, ActorObject& actor);
void postCollisionEvents(GameObjectSimulator& objects, ActorObject& actor);
// All or nothing: every solid cell of the strip must break under pressure.
void queuePressureDamage(GameObjectSimulator& objects, const iRect& cells, float rate);

} // namespace zor
