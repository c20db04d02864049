#pragma once
// An actor: the player, a creature, a townsperson, a barrel, a building. Its vital values,
// weapon state and animated parts live here; the simulation moves and fights with them.

#include "game/definitions/ActorDefinition.h"
#include "game/world/entity/GameObject.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class BehaviorMachine;
struct NPCBehaviorData;

// One animated part of an actor. The restart flag asks the presentation to play the
// part's current animation from its start; an entry may hold only that flag.
struct AnimationPart {
    std::shared_ptr<BehaviorMachine> machine;  // may be null
    bool restart = false;
};

class ActorObject final : public GameObject {
public:
    // Hit points and the invulnerable flag from the definition; water and light time start
    // at 0.
    explicit ActorObject(std::shared_ptr<const ActorDefinition> definition);

    // The game-object reset; every animated part restarts and a pool fills up with water.
    void reset() override;

    const ActorDefinition& definition() const { return *m_definition; }
    // Both definition pointers share `definition` from now on (not null); the player's
    // upgraded copy comes this way.
    void installDefinition(std::shared_ptr<const ActorDefinition> definition);

    // The one threshold of life in the simulation: hit points above 0.00001.
    bool isAlive() const;
    // The weapon index names one of the definition's weapons.
    bool hasWeapon() const;
    // Only when hasWeapon.
    const ActorDefinition::Weapon& currentWeapon() const;
    // A weapon that exists, has cooled down, does damage or is of attack type 3 to 5, has
    // the water it needs (no drain, more than its minimum, or a charge under way) and, when
    // it attacks only on the ground, an actor standing there.
    bool canUseCurrentWeapon() const;
    // 0.2 with an empty tank up to 1 with a full one; 0 for an actor without a tank.
    float waterLevelFactor() const;
    // The dash speed while dashing, else the jump speed; times 1.2 with the high jump.
    float jumpVelocity() const;
    // The definition's attached direction turned with the facing, in whole units.
    fpVector2 attachedDirection() const;
    // The townsperson's walking state, made with its defaults around the actor's position
    // on the first call.
    NPCBehaviorData& npcBehaviorData();
    // Posts the input to the machine of the part, or to every part's machine for an empty
    // part name; the result of the last machine posted to (whether it knows the input),
    // false when there was none.
    bool sendAnimationInput(const std::string& input, const std::string& part);
    // From the position to the muzzle: the current weapon's spawn offset (when it has one)
    // plus the definition's, in world orientation.
    fpVector2 projectileSpawnOffset() const;

    float hitPoints;
    float water = 0.0f;
    float lightTime = 0.0f;  // seconds
    // No weapon can be used while it is above 0 (seconds).
    float weaponCooldown = 0.0f;
    bool dashing = false;
    // Seconds the current attack has charged; while above 0 the water check passes.
    float chargeTime = 0.0f;
    bool invulnerable;
    float heartbeatCountdown = 0.0f;  // seconds; set-up starts it at random
    float idleSoundCountdown = 0.0f;  // seconds; set-up starts it at random
    bool hasIdleSound;
    std::int32_t weaponIndex = 0;
    // The weapon the controller or the behaviour asks for; the attack cycle switches to it.
    std::int32_t requestedWeapon = 0;
    std::int32_t toolIndex = -1;  // -1: no tool
    // Radians; a cannon starts aiming along its facing.
    float aimAngle = 0.0f;
    // Radians per second the aim turns toward its target.
    float aimTurnSpeed = 1.0f;
    // The enemy the behaviour found, 0 for none.
    std::int32_t targetId = 0;
    // Withdrawn into its shell; the contact rules read it.
    bool hidden = false;
    bool activatesBarrels = false;
    std::uint32_t busyFlags = 0;  // BusyFlag bits
    // The kind of the last damage taken.
    DamageType lastDamageType = DamageType::Normal;
    // Seconds; damage waits while it is above 0 (the actor update counts it down).
    float invulnerabilityTime = 0.0f;
    // Seconds left of the hit flash, and the flash's full length.
    float hitFlashTime = 0.0f;
    float hitFlashLength = 0.0f;
    // Raised when the actor must vanish without loot (it left the level, its placement was
    // refused); the actor is killed at once.
    bool dying = false;
    // Set by the first killActor; death happens once.
    bool killed = false;
    // Drops the definition's GoodResource instead of its Resource.
    bool goodLoot = false;
    // From the body centre to where the loot appears.
    fpVector2 lootOffset;
    // Noise heard and not yet reacted to; the actor update lets it fade.
    float heardNoise = 0.0f;
    // The pool the actor is in (0: none) and its liquid: 0 none, 1 water, 2 acid.
    std::int32_t poolId = 0;
    std::int32_t liquidState = 0;
    // The weapon and tool the player controller switches to.
    std::int32_t requestedWeaponIndex = 0;
    std::int32_t requestedToolIndex = -1;
    // The light shown while a weapon charges, 0 for none.
    std::int32_t chargeLightId = 0;
    // Set while the surface refills the lamp.
    bool lampRefilling = false;
    std::string constantSound;
    // Null for an actor without a behaviour.
    std::shared_ptr<BehaviorMachine> behaviorMachine;
    // Makes the actor's first behaviour step a first step in its state, although its
    // machine took no transition.
    bool behaviorRestart = true;
    // Seconds until the next edge and meeting probes; set-up starts them at random.
    float edgeTimer = 0.0f;
    float meetTimer = 0.0f;
    // By part name, in name order so that posting to every part is deterministic.
    std::map<std::string, AnimationPart> animationParts;
    std::string simpleAnimation;
    // Entities the actor answers for; the boss keeps its generators here, destroyed or not.
    std::vector<std::int32_t> ownedEntityIds;

    // --- Intent: what the player's controls or the behaviour instructions ask for ---
    fpVector2 moveVector;  // each component -1, 0 or 1; y down
    bool runHeld = false;
    // Latched until their consumers clear them.
    bool jumpPressed = false;
    bool jumpHeld = false;
    bool attackPressed = false;
    bool activatePressed = false;  // cleared at the end of every player input step
    bool useToolPressed = false;
    // The one direction the player points in: never both components non-zero.
    iVector2 aimDirection;
    iVector2 lastDirectionInput;
    // attackPressed of the previous step: a held attack fires again.
    bool attackRepeat = false;
    bool lookUpRequest = false;
    bool downPressed = false;
    bool upPressed = false;
    bool leftPressed = false;
    bool rightPressed = false;

    // --- Movement state ---
    std::int32_t groundState = 0;  // 0 air, 1 solid ground, 2 platform top (or just off a ladder)
    std::int32_t climbing = 0;
    std::int32_t ladderId = 0;
    float climbDirection = 0.0f;
    std::int32_t standingOnId = 0;
    // Jumps since the actor last stood on ground; walking off a ledge counts as one.
    std::int32_t jumpCount = 0;
    bool normalJump = false;
    bool chargedJumpActive = false;
    bool doubleJumpActive = false;
    float charge = 0.0f;  // steam charge, 0 to 1
    // Away from the wall the actor slides on (1: wall on the left); cleared every update.
    std::int32_t wallSide = 0;
    // After a wall jump the player may not push toward that wall for a moment.
    std::int32_t wallJumpLockDirection = 0;
    float wallJumpLockTime = 0.0f;
    bool running = false;
    float groundSpeed = 0.0f;  // the running speed cap, px/s
    // Set while the player draws water from a pool, the pool's id in waterSourceId.
    bool refilling = false;
    std::int32_t waterSourceId = 0;
    std::int32_t drainEffectId = 0;
    float fallDistance = 0.0f;  // pixels
    std::string pendingSpawn;
    // Raised by the presentation when a foot comes down.
    bool footstepRequest = false;
    float runningEffectTimer = 0.0f;
    float slideEffectTimer = 0.0f;
    float steamTrailTimer = 0.0f;
    float lightWarningTimer = 0.0f;
    std::uint32_t slideSound = 0;
    // Seconds; while above 0 the actor is knocked back and the player's input is ignored.
    float knockbackTime = 0.0f;
    // Seconds the running attack still takes (the weapon attack cycle's).
    float attackTimer = 0.0f;
    // Attacks fired so far; raises the pitch of later attack sounds.
    std::int32_t hitCount = 0;
    // The actor was attacking in the previous step.
    bool attacking = false;
    // The charging sound's pitch rises as the timer runs up to the time (seconds).
    float attackPitchTime = 0.0f;
    float attackPitchTimer = 0.0f;
    // The player's aim, any length.
    fpVector2 aimVector;

    // --- Physics step and senses ---
    float activationTimer = 0.0f;
    std::int32_t activationTargetId = 0;
    // While the duration is above 0 the animation speed climbs from 0 back to 1.
    float animationRecoveryTime = 0.0f;
    float animationRecoveryDuration = 0.0f;


    // --- State the behaviour instructions keep in the actor between steps ---
    // Made at 0 on first use; ordered, so a lookup by view needs no key of its own.
    std::map<std::string, float, std::less<>> namedTimers;
    std::map<std::string, float, std::less<>> namedValues;
    bool simpleAnimationOnce = false;
    // How hard the actor shakes, 0 for still; the presentation reads it.
    float rumbleStrength = 0.0f;

    // With no recovery running: a recovery above 0 starts one, else the speed is set. While
    // a recovery runs nothing changes.
    void setAnimationSpeed(float speed, float recovery);

private:
    std::shared_ptr<NPCBehaviorData> m_npcData;
    std::shared_ptr<const ActorDefinition> m_definition;
};

} // namespace zor
