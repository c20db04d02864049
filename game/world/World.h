#pragma once
// The content of the one level being played: the current Level, every entity placed in
// it, the player's live progress, the save state, the camera with its shake and pan
// requests, and the event lists through which it announces changes.
//
// Entities are made only by the spawners (and registerEntity, for the save reader, the
// level's point shapes and the beam builders), kept in tables by id and by type, and removed in a deferred way: a
// removal request marks and queues the entity, and processRemovals (once per step, and
// when the level's entities are cleared) unregisters and deletes it, so no entity goes
// away while a step walks the tables.
//
// Main thread only, or the worker while it holds the game for a build; never both.

#include "game/world/Camera.h"
#include "game/world/Level.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/GameObject.h"
#include "game/world/entity/Projectile.h"
#include "game/world/entity/ResourceObject.h"
#include "game/world/progress/PlayerProgress.h"
#include "game/world/progress/SaveState.h"

#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Color.h"
#include "Framework/core/math/Curve.h"

#include <boost/container/flat_map.hpp>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace zor {

class Beam;
class Destination;
class EffectObject;
class ExitObject;
class LightObject;
class Randomizer;
class ShapeObject;
class TileDamage;
class WorldText;
struct ConversationDefinition;
struct VisualAttachment;

// A sound the simulation asks for in a step; the audio presentation plays and empties the
// World's list every step.
struct SoundRequest {
    std::string cue;
    fpVector2 position;
    float pitch = 1.0f;
};

// Music a script asks for; the audio presentation starts it (an empty track fades the
// music out) and clears the request.
struct MusicRequest {
    bool pending = false;
    std::string track;
};

// The curve index that means "no shake" and "no pan".
constexpr std::int32_t NoCameraCurve = 11;

struct CameraShake {
    float remaining = 0.0f;  // seconds
    float duration = 0.0f;   // seconds
    float amplitude = 0.0f;  // pixels
    std::int32_t curve = NoCameraCurve;
};

struct CameraPan {
    fpVector2 target;
    float speed = 0.0f;     // pixels per second
    float holdTime = 0.0f;  // seconds; negative holds until another pan replaces it
    float progress = 0.0f;  // 0 to 1, the target at 0.5
    std::int32_t curve = NoCameraCurve;
};

class World {
public:
    // By entity id; walking a table goes in id order, which is the order of creation.
    template <class T>
    using Table = boost::container::flat_map<std::int32_t, T*>;

    // Every simulation draw of the spawners comes from `random`, the Game's generator.
    explicit World(Randomizer& random);
    // Removes (and announces) every entity, then disconnects every list, the last first.
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The event lists, in this order.
    EventList<Entity*> entityAdded;
    EventList<Entity*> entityRemoved;    // before the entity leaves the tables
    EventList<> levelUnloading;          // the level-change fade is over, the build begins
    EventList<> levelStarted;            // a level was built or restored
    EventList<> levelReady;              // a built level was handed to the main thread
    EventList<std::string> itemGained;   // an item or upgrade count rose
    EventList<> gameOver;
    EventList<> pauseStarted;
    EventList<> leavingGame;             // the game is about to be torn down (main thread)
    EventList<> inventoryChanged;
    EventList<std::int32_t> discardRequested;  // the inventory slot index
    EventList<> suicideRequested;
    EventList<> quitRequested;
    EventList<> saveRequested;
    EventList<const ConversationDefinition*> conversationEnded;
    EventList<> restartRequested;
    EventList<> playerHurt;

    // Spawners: each returns the new entity, registered and announced. A definition name
    // that is not registered is reported once (as a warning) and gives null.
    // The player from the actor definition "player", with a second, sensor body.
    ActorObject* spawnPlayer();
    ActorObject* spawnActor(const std::string& definitionName, const fpVector2& position, const fpVector2& facing);
    ActorObject* spawnActorFacingRight(const std::string& definitionName, const fpVector2& position);
    Projectile* spawnProjectile(const std::string& definitionName, const fpVector2& position, std::int32_t ownerId);
    // Null also when the definition spawns something else instead (a projectile, a refill,
    // an actor or orbs); a lifeTime of -1 keeps the definition's. A refill needs a player.
    ResourceObject* spawnResource(const std::string& definitionName, const fpVector2& position, float lifeTime);
    EffectObject* spawnEffect(const std::string& effectName, const fpVector2& position, float rotation, float scale);
    LightObject* spawnLight(const VisualAttachment& light);
    // A trigger rectangle in level coordinates.
    ShapeObject* spawnShapeObject(const fpRect& rectangle);
    // The exit record is the level's and must outlive the exit.
    ExitObject* spawnExit(const fpRect& rectangle, const PatchExit& exit);
    TileDamage* spawnTileDamage(const fpVector2& position);
    WorldText* spawnWorldText(const fpVector2& position, const std::string& text);
    Destination* spawnDestination(const fpVector2& position);
    // Enters the entity in its tables and announces it; the World owns it from here on.
    void registerEntity(Entity* entity);

    // Lookups give null for an unknown id and for an entity queued for removal.
    Entity* findEntity(std::int32_t id) const;
    GameObject* findGameObject(std::int32_t id) const;
    LightObject* findLight(std::int32_t id) const;
    ActorObject* player() const { return m_player; }
    // The player's depth in tiles; false in caves, at the surface, and without a player
    // or a level.
    bool getPlayerDepth(std::int32_t& depth) const;
    // Appends the alive persistent resources and actors, sorted by id.
    void collectPersistentEntities(std::vector<Entity*>& list) const;

    // Deferred removal: marks and queues the entity; a second request does nothing.
    void removeEntity(Entity* entity);
    void removeEntityById(std::int32_t id);
    // Unregisters (announcing first) and deletes the queued entities, also those queued
    // while it runs. Not re-entrant.
    void processRemovals();
    // Removes every entity and resets the tint colour.
    void removeAllEntities();

    // Ignored while a running shake has at least `duration` left; a duration of 0 always
    // applies and so stops a shake.
    void shakeCamera(float amplitude, float duration, std::int32_t curve);
    // A pan with a speed that is not above 0, or with a value that is not finite, is
    // refused (logged) and the running pan goes on.
    void panCamera(const fpVector2& target, float speed, float holdTime, std::int32_t curve);
    // The return point of the progress becomes the current level and the entity's
    // position, except in the town.
    void storeReturnPoint(const Entity& entity);
    void clearReturnPoint();

    const Table<Entity>& entities() const { return m_entities; }
    const Table<GameObject>& gameObjects() const { return m_gameObjects; }
    const Table<ShapeObject>& shapeObjects() const { return m_shapeObjects; }
    const Table<Projectile>& projectiles() const { return m_projectiles; }
    const Table<EffectObject>& effects() const { return m_effects; }
    const Table<LightObject>& lights() const { return m_lights; }
    const Table<WorldText>& worldTexts() const { return m_worldTexts; }
    const Table<Destination>& destinations() const { return m_destinations; }
    const Table<ExitObject>& exits() const { return m_exits; }

    Randomizer& random() const { return m_random; }

    SaveState saveState;
    std::shared_ptr<Level> level;  // null until the first level is built
    bool demo = false;             // nothing is saved while set
    std::vector<SoundRequest> soundRequests;
    MusicRequest pendingMusic;
    Camera camera;
    // The object the camera leans toward (0: none) and how far it leans (0 to about 1).
    std::int32_t cameraFocusTargetId = 0;
    float cameraFocusBlend = 0.0f;
    PlayerProgress progress;
    // Drawn over the whole view; the scripts fade it.
    PackedColor tintColor = DefaultTintColor;
    PackedColor ambientColor{0xFFFFFFFF};
    // The full-screen overlay, 0 to 1.
    float overlayStrength = 0.0f;
    // Rewritten by the user interface every step.
    bool screenOpen = false;
    CameraShake shake;
    CameraPan pan;
    // Raised by the Game once per unpaused step.
    std::int32_t stepCounter = 0;
    // Emptied and refilled by each object step; the presentation reads them.
    std::vector<std::int32_t> shownLights;
    std::vector<std::int32_t> updatedObjects;
    std::vector<std::int32_t> updatedBeams;
    std::vector<std::int32_t> constantSoundIds;  // sorted by id
    // The boss fight: 0 to 3 through its phases, 3 to 8 through its ending; and the boss
    // by which its generators find it (0: none).
    std::int32_t bossPhase = 0;
    std::int32_t bossId = 0;

    static constexpr PackedColor DefaultTintColor{0};

private:
    template <class T>
    T* finish(T* entity);
    // The definition behind a spawner, or null (reported once per kind and name).
    template <class Definition, class Find>
    std::shared_ptr<Definition> requireDefinition(const char* kind, const std::string& name, Find find);
    void unregister(Entity* entity);
    ResourceObject* spawnRefill(const std::string& definitionName, const fpVector2& position, float lifeTime);
    void spawnOrbs(const ResourceDefinition& definition, const fpVector2& position, float lifeTime);
    void reportOnce(const std::string& text);

    Randomizer& m_random;
    Table<Entity> m_entities;  // owns every registered entity
    Table<GameObject> m_gameObjects;
    Table<ShapeObject> m_shapeObjects;
    Table<Projectile> m_projectiles;
    Table<EffectObject> m_effects;
    Table<LightObject> m_lights;
    Table<WorldText> m_worldTexts;
    Table<Destination> m_destinations;
    Table<ExitObject> m_exits;
    ActorObject* m_player = nullptr;
    std::vector<Entity*> m_removals;
    std::vector<Entity*> m_removing;  // the batch processRemovals is deleting
    std::set<std::string> m_reported;
};

} // namespace zor
