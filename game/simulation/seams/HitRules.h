#pragma once
// Contacts, detonations and damage to tiles. The defaults let the physics resolve every
// contact by itself, make a detonating projectile vanish without effect, and leave tiles
// whole.
//
// Plugged in by the contacts and attacks (onContact, detonateProjectile), by digging
// (digCell, depthOfHardnessTier) and by the noise enemies hear (makeNoise; the default is
// silent). Main thread, inside the Game's step; onContact is
// called from inside the physics' sweeps and must not destroy physical objects.

#include "game/simulation/NoiseSize.h"

#include "Framework/core/math/Vector.h"

#include <cstdint>

namespace zor {

class GameObject;
class GameObjectSimulator;
class Projectile;
struct DamageData;
struct PhysicalCollision;

class HitRules {
public:
    virtual ~HitRules() = default;

    // The contact callback of the level's physics.
    virtual void onContact(GameObjectSimulator& objects, PhysicalCollision& contact);
    // A projectile whose fuse ran out, that touched something, or that fuses at once.
    virtual void detonateProjectile(GameObjectSimulator& objects, Projectile& projectile);
    // Damage to a solid cell of the byte grid; true when the cell's damage is done with
    // (a queued pressure record is then dropped), false to keep it queued.
    virtual bool digCell(GameObjectSimulator& objects, std::int32_t column, std::int32_t row,
                         const DamageData& damage, const fpVector2& origin);
    // The depth in tiles where hardness tier `tier` begins; not finite when it lies
    // beyond any level (the map then shows no more tiers).
    virtual float depthOfHardnessTier(GameObjectSimulator& objects, std::int32_t tier);
    // A noise the object makes: steps, jumps, swings, falls.
    virtual void makeNoise(GameObjectSimulator& objects, GameObject& source, NoiseSize size);
};

} // namespace zor
