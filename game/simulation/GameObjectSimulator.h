#pragma once
// The game objects of the level being played: the level's physics, which objects are
// updated in a step (those near the view and the forced ones), the small timed entities
// (destination markers, projectile fuses, effects, world texts), tiles that grow back,
// damage queued against cells, the max-count groups, and the placement of spawned actors.
//
// One step, in this order: the player step, tile regeneration, destination markers, the
// objects near the view and the forced ones, queued cell damage, the camera, projectile
// fuses, effects, world texts. What the player, actors, contacts, hits, death, resources
// and beams do comes through the seams (game/simulation/seams); this class owns the frame
// they run in, and the two gates those rules share: damage to actors (damage/) and to tile
// cells (digging/).
//
// Owned by the Simulator, across level changes. Main thread, and the worker while it
// holds the game for a build (buildLevelPhysics, the entity notifications, settling).

#include "game/simulation/NoiseSize.h"
#include "game/simulation/behavior/EnemySimulator.h"

#include "game/definitions/ActorDefinition.h"
#include "game/world/Level.h"

#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

class ActorObject;
class ActorSteps;
class Entity;
class GameObject;
class HitRules;
class InputState;
class ObjectLifeRules;
class ObjectPhysicsSteps;
class PhysicalObject;
class PhysicsSystem;
class Projectile;
class ResourceObject;
class SeamFactory;
class Simulator;
class UserInterface;
class World;
struct DamageData;
struct RadialDamageData;
struct MaterialDefinition;
struct MaxCountDefinition;
struct TileType;

// Groups of the objects that occupy space: every group but tiles, trigger, bounds, exits
// and beams. A regrowing tile waits while one of them is in its cell.
constexpr std::uint32_t OccupantMask = 228207;

class GameObjectSimulator {
public:
    // The settings of section "Game".
    struct NoiseLevel {
        float radius = 1.0f;
        float amount = 0.0f;
    };
    struct Settings {
        float gravity = 0.0f;
        // tiny, small, medium, large, huge
        std::array<NoiseLevel, 5> noise{};
        float jumpPlateImpulse = 0.0f;
        float maxRunSpeed = 0.0f;
        float pushBackSpeed = 0.0f;
        float pushBackMargin = 0.0f;
    };

    struct MaxCountGroupState {
        std::shared_ptr<const MaxCountDefinition> definition;  // null: a name no group has
        std::int32_t liveCount = 0;
        std::deque<std::int32_t> queue;  // ids in order of creation, with KeepQueue only
    };

    struct QueuedCellDamage {
        std::int32_t column = 0;
        std::int32_t row = 0;
        float rate = 0.0f;  // damage per second
    };

    struct TileRegeneration {
        std::int32_t column = 0;
        std::int32_t row = 0;
        float dueTime = 0.0f;  // in levelTime seconds
    };

    // Connects onNewLevel to the World's levelStarted list. The owner, its World and its
    // interface must outlive this object.
    GameObjectSimulator(Simulator& owner, World& world, UserInterface& userInterface, const SeamFactory& seams);
    ~GameObjectSimulator();
    GameObjectSimulator(const GameObjectSimulator&) = delete;
    GameObjectSimulator& operator=(const GameObjectSimulator&) = delete;

    // Reads the section "Game" once; later changes of those settings are not followed.
    void readSettings();
    // A new physics world over the World's level with its tile-map and bounds bodies (the
    // bounds reach 500 px below the last row); the previous level's physics goes. The
    // interface's map page gets the new cell system on the main thread (the owner's
    // MainThreadWork).
    void buildLevelPhysics();
    void onEntityAdded(Entity* entity);
    void onEntityRemoved(Entity* entity);
    // One step, with the time-scaled record.
    void update(const UpdateRecord& record);

    // Sweeps a freshly placed object along its settling direction (down, an actor's
    // attached direction or, with GravityFromRotation, its facing) for `distance` pixels
    // and rounds its position. With `reject`, an actor that crowds another or stands where
    // it may not is killed (its dying flag raised).
    void settleSpawnedActor(GameObject& object, float distance, bool reject);
    // An arrival never kills: when the terrain under the actor is farther than a fall its
    // hit points survive, the actor first moves to the nearest free spot, in whole cells,
    // with ground within such a fall; then it settles like a spawned actor. False when no
    // spot was found (the actor stays where it was put).
    bool settleArrivingActor(ActorObject& actor, float distance);
    // Puts the camera's top-left corner at the point less half the camera's size.
    void centreCameraOn(const fpVector2& point);
    // The cell turns solid again after `delay` seconds of this level, once nothing stands
    // in it.
    void queueTileRegeneration(std::int32_t column, std::int32_t row, float delay);
    // Pressure on a solid cell whose tile type breaks under pressure; a cell queued already
    // keeps the larger rate. Other cells and rates not above 0 are ignored.
    void queueCellDamage(std::int32_t column, std::int32_t row, float rate);
    // Updates the object in the next step wherever the camera is.
    void forceUpdate(const GameObject& object);

    // The operations of the seams, as the rest of the game calls them.
    void killActor(ActorObject& actor);
    bool digCell(std::int32_t column, std::int32_t row, const DamageData& damage, const fpVector2& origin);
    void detonateProjectile(Projectile& projectile);
    float depthOfHardnessTier(std::int32_t tier);
    bool handlePlayerInput(InputState& input);
    void finishPlayerInput();
    // One of the settings' five noise levels.
    void makeNoise(GameObject& source, NoiseSize size);

    // The player touched the resource: refills, upgrade, value, orbs and loot go to the
    // player; what does not fit stays in the resource, which is removed once empty.
    void pickUpResource(ActorObject& player, ResourceObject& resource);
    // A text over the resource in its pickup colour: rising, or (small) a short pulse.
    void showPickupText(const ResourceObject& resource, const std::string& text, const std::string& icon, bool small);
    // A localized line over the player's head; dropped while messageCooldown runs.
    void showPlayerMessage(const std::string& lineId);
    // At most one noise per object every 0.3 s, unless a louder one comes.
    void makeNoise(GameObject& object, const NoiseLevel& level);
    // Actors of the enemy groups within the radius hear it; the source never does.
    void emitNoise(const NoiseLevel& level, const fpVector2& position, std::int32_t sourceId);
    // The light revealed a secret: cue, banner, and in a cave the progress's count.
    void onSecretFound();

    // Actor damage (damage/): the one gate every hurt passes. The direction is the damage's
    // travel direction, from the attacker toward the victim.
    // Queues AttackedInvulnerableSound when the refusal is the actor's own invulnerability.
    bool canDamageActor(ActorObject& actor, const DamageData& damage, const fpVector2& direction);
    // False when refused. `leftover`, when given, receives the part of the amount the kill
    // did not use (0 when refused).
    bool damageActor(ActorObject& actor, const DamageData& damage, const fpVector2& direction,
                     float* leftover = nullptr);
    // A landing after `fallDistance` pixels of fall, the collision moving the actor to
    // `targetPosition`; true when it dealt damage.
    bool applyFallDamage(ActorObject& actor, float fallDistance, const fpVector2& targetPosition);

    // Tiles (digging/). Cells outside the level are never solid and refused quietly.
    bool isSolidCell(const iVector2& cell) const;
    // Whether a hit travelling along `direction` (only its signs matter) may damage the cell.
    bool canDig(const iVector2& cell, const fpVector2& direction, const DamageData& damage) const;
    // One hit; true when the tile broke. `leftover`, when given, receives the part of the
    // amount the break did not use (0 when it did not break).
    bool digCell(const iVector2& cell, const fpVector2& direction, const DamageData& damage,
                 float* leftover = nullptr);
    // The one-cell strip just beyond the side of `area` that `direction` points to.
    iRect frontCells(const fpVector2& direction, const fpRect& area) const;
    struct FrontDig {
        bool allBroke = true;         // also true for a strip without a solid cell
        std::int32_t solidCells = 0;  // the cells that were hit
    };
    FrontDig digFront(const fpRect& area, const fpVector2& direction, const DamageData& damage);
    // A weapon striking a cell, with the material's reaction when `withFeedback`; false only
    // when the cell is not solid.
    bool hitTile(const iVector2& direction, const fpVector2& referencePoint, const iVector2& cell,
                 const ActorDefinition::Weapon& weapon, const DamageData& damage, bool withFeedback);
    // Attacks (attacks/). The attack step of a live actor, step `step` seconds long: weapon
    // switch, wind-up, charge, repeat, release, animation inputs and charge light.
    void updateAttack(ActorObject& actor, float step);
    // Fires the current weapon once; an actor without a valid weapon never fires.
    void performAttack(ActorObject& attacker);
    void meleeHit(ActorObject& attacker);
    // What a going-off projectile does: contact or area damage, knockback, shake, spawn; it
    // is removed unless it penetrates on. The HitRules seam's detonation.
    void explodeProjectile(Projectile& projectile);
    void radialDamage(const RadialDamageData& radial, const fpVector2& centre);
    DamageData radialDamageAt(const RadialDamageData& radial, float t) const;
    void radialKnockback(const fpVector2& centre, float radius, float amount, float stunTime);
    void applyKnockback(ActorObject& actor, const fpVector2& velocity, float stunTime);
    // The cell's record, made zeroed when missing. The cell must lie inside the level.
    CellRecord& cellRecord(const iVector2& cell);
    CellRecord* findCellRecord(const iVector2& cell);
    void eraseCellRecord(const iVector2& cell);

    Simulator& owner() const { return m_owner; }
    World& world() const { return m_world; }
    UserInterface& userInterface() const { return m_userInterface; }
    EnemySimulator& enemySimulator() { return *m_enemySimulator; }
    // Null until the first level's physics is built.
    PhysicsSystem* physics() const { return m_physics.get(); }
    const std::shared_ptr<PhysicsSystem>& physicsPointer() const { return m_physics; }
    const Settings& settings() const { return m_settings; }
    // The record of the running step, with its time-scaled length.
    const UpdateRecord& updateRecord() const { return m_record; }
    float lastStep() const { return m_lastStep; }
    // Seconds since the level started: the clock of the regeneration queue.
    float levelTime() const { return m_levelTime; }
    const std::vector<QueuedCellDamage>& cellDamageQueue() const { return m_cellDamageQueue; }
    // A heap on the due time; its front is the earliest.
    const std::vector<TileRegeneration>& regenerationQueue() const { return m_regenerationQueue; }
    // Null for a group no object has named yet.
    const MaxCountGroupState* maxCountGroup(const std::string& name) const;

    // State of the player step that the player, contact and tool rules share; emptied
    // on a new level.
    std::vector<float> playerSpeedHistory;  // the last six |horizontal speed|, newest last
    float pushBackRemaining = 0.0f;         // signed pixels the player still has to be pushed
    float messageCooldown = 0.0f;           // seconds until the next floating message

private:
    void onNewLevel();
    void regenerateTiles();
    void updateDestinations(float step);
    void updateObjectsNearView();
    void updateObject(GameObject& object);
    bool leftTheLevel(GameObject& object);
    bool stillAsleep(GameObject& object);
    void turnToMotion(GameObject& object);
    void moveAttachedLight(GameObject& object);
    void applyCellDamage(float step);
    void runFuses(float step);
    void updateEffects();
    void updateWorldTexts(float step);
    void joinMaxCountGroup(GameObject& object, const std::string& groupName);
    void leaveMaxCountGroup(const GameObject& object, const std::string& groupName);
    void fireProjectile(ActorObject& attacker, const ActorDefinition::Weapon& weapon);
    void fireFan(ActorObject& attacker, const ActorDefinition::Weapon& weapon);
    void fireLaser(ActorObject& attacker, const ActorDefinition::Weapon& weapon);
    void updateChargeLight(ActorObject& actor, const ActorDefinition::Weapon* weapon);
    bool crowdsOthers(ActorObject& actor);
    bool standsWhereItMayNot(ActorObject& actor);
    // What a break releases and changes, in its fixed order; `record` is the cell's record
    // before the break.
    void breakCell(const iVector2& cell, const TileType& type, const MaterialDefinition& material,
                   const DamageData& damage, const CellRecord& record);
    void tellAttachedActors(const iVector2& cell, const DamageData& damage);
    // Ids of the table's entities, so that a walk survives spawns and removals. One walk at
    // a time: the list is reused.
    template <class Table>
    const std::vector<std::int32_t>& snapshot(const Table& table);

    Simulator& m_owner;
    World& m_world;
    UserInterface& m_userInterface;
    std::vector<EventConnection> m_connections;
    std::unique_ptr<EnemySimulator> m_enemySimulator;
    std::unique_ptr<ActorSteps> m_actorSteps;
    std::unique_ptr<ObjectPhysicsSteps> m_physicsSteps;
    std::unique_ptr<HitRules> m_hitRules;
    std::unique_ptr<ObjectLifeRules> m_lifeRules;
    std::shared_ptr<PhysicsSystem> m_physics;
    std::unique_ptr<PhysicalObject> m_tileMapObject;
    std::unique_ptr<PhysicalObject> m_boundsObject;
    std::vector<PhysicalObject*> m_viewQuery;
    std::vector<PhysicalObject*> m_overlapQuery;
    std::vector<PhysicalObject*> m_breakQuery;  // the actors around a broken cell
    std::vector<std::int32_t> m_forceUpdateNext;
    std::vector<std::int32_t> m_forceUpdateNow;
    std::vector<std::int32_t> m_snapshot;
    UpdateRecord m_record;
    float m_lastStep = 0.0f;
    float m_levelTime = 0.0f;
    std::unordered_map<std::string, MaxCountGroupState> m_maxCountGroups;
    std::vector<QueuedCellDamage> m_cellDamageQueue;
    std::vector<TileRegeneration> m_regenerationQueue;
    std::set<std::string> m_reported;
    Settings m_settings;
};

} // namespace zor
