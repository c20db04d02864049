#pragma once
// The rules that act on the World at game level: play start in the current slot, the
// pending level change and its build or restore, the entry points where the player is
// placed, checkpoints and saves on entering and leaving levels, populating a level when it
// starts, the player's vital values across level changes, death, the game-over slow-down,
// the continue, and the demo start. The objects of the level are the GameObjectSimulator's;
// selling, experience, upgrades and quests come through the seams (game/simulation/seams).
//
// One step, in this order: the camera on a viewport change, the debug commands, the
// surface lamp refill, the game-over slow-down, the object step, then (no game over, no
// pending level change) the level's script graph, the quest tracker and the end of the
// player's input; the status bars, the sale, the World's deferred removals and the slot's
// totals.
//
// start and buildLevel run on the worker while the Game is built or changes level; what
// they do to the interface, files and settings goes through mainThreadWork(), which the
// Game runs on the main thread at the hand-back. Everything else runs on the main thread.

#include "game/simulation/MainThreadWork.h"
#include "game/simulation/PlayStart.h"

#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class ActorObject;
class GameAudio;
class GameObject;
class GameObjectSimulator;
class GamePorts;
class GameRules;
class GameSession;
class LevelSource;
class QuestTracking;
class ScriptSimulator;
class SeamFactory;
class SystemComponents;
class UserInterface;
class World;
class WorldPersistence;
struct PersistentLevelInfo;
struct UpdateRecord;

class Simulator {
public:
    // The entries every level has, and the one that leads back where the player left.
    static constexpr const char* StartEntry = "[start]";
    static constexpr const char* ReturnEntry = "[return]";
    // The level a demo plays in.
    static constexpr const char* DemoLevel = "deepvault";

    // The World, the interface and the audio must outlive the Simulator; the seams and the
    // level source are used while it lives.
    Simulator(World& world, UserInterface& userInterface, SystemComponents* components, GameAudio& audio,
              const GamePorts& ports, const SeamFactory& seams, std::shared_ptr<const LevelSource> levels);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The level a continue leads to: "Debug.SetLevel" once when it is set, else
    // "Profile.RespawnLevel". Main thread: taking a setting changes it.
    static std::string takeStartLevel();

    // Begins play in the current slot: loads its save, then builds the forced patch level
    // or the start level ("Debug.SetLevel" of `start`, else the respawn level) and applies
    // the other debug requests of `start`. On the worker, inside the Game's construction.
    void start(const PlayStart& start);
    // Begins a demo (main thread): start, a prepared progress, the World in demo mode, and
    // the demo level.
    void startDemo();
    // One step, with the time-scaled record.
    void update(const UpdateRecord& record);
    // The physics' debug drawing, every frame.
    void drawDebug();

    // Leaves a level change pending; a zero position lets the entry decide where the player
    // arrives.
    void requestLevel(const std::string& levelName, const std::string& entryName, const fpVector2& position);
    // The pending level change to the start level (takeStartLevel), entry "[start]". Main
    // thread.
    void setStartEntry();
    // Carries out the pending level change: a checkpoint of the level left, every entity
    // removed, the new level built or restored from its record, levelStarted fired (which
    // builds the physics and populates the level), the stored entities restored, the player
    // placed, the checkpoint and save of the entry, and the request cleared. Throws
    // CheckReleaseError "Error when building level: <name>, <reason>".
    void buildLevel();
    // A debug level of one patch, without entry, checkpoint or save. When it cannot be
    // built the previous level stays and is started again; without a previous level the
    // failure is logged and play starts normally.
    void buildSpecificPatchLevel(const std::string& patchSetName, const std::string& patchName);
    // Where the pending entry (else "[start]") of the current level lies: one of its
    // arrival points, drawn from the World's generator. False, with the level's centre
    // facing right, when the level has neither.
    bool findEntryPosition(fpVector2& position, bool& facesRight);
    // Stores the current level (byte grid, return position, persistent entities) in its
    // record, and the live progress and the player's vital values in the save state.
    void takeCheckpoint();

    // The player's death is final: shows the game-over screen with the money it cost and
    // slows the game to a halt; the screen's closed list continues. Once per game over.
    void showGameOver(std::int32_t lostCash);
    // Back to normal speed, sound and view, and off to the respawn level (or the start of
    // the same cave).
    void continueAfterGameOver();
    // Listener of the World's suicideRequested list: the player dies at its next update.
    void onSuicide();
    // Listener of the World's saveRequested list: checkpoint and save, nothing in a demo.
    void saveGame();
    // The handler of the light's found secrets.
    void onSecretFound();
    // Starts selling what the player carries (the level scripts' sell action).
    void sellInventory();
    bool saleRunning() const;
    // The player lacks water for a jump.
    void flashWaterBar();
    // The end of the story: the last quest becomes current.
    void finishQuests();
    // The player activated an actor of this definition name.
    void talkTo(const std::string& npcName);

    bool levelChangePending() const { return !m_requestedLevel.empty(); }
    const std::string& requestedLevel() const { return m_requestedLevel; }
    const std::string& requestedEntry() const { return m_requestedEntry; }
    const fpVector2& requestedPosition() const { return m_requestedPosition; }
    // The factor of the simulation's step length: 1, falling after a game over.
    float timeScale() const { return m_timeScale; }
    bool gameOver() const { return m_gameOver; }

    World& world() const { return m_world; }
    UserInterface& userInterface() const { return m_userInterface; }
    GameAudio& audio() { return m_audio; }
    ScriptSimulator& scriptSimulator() { return *m_scriptSimulator; }
    GameObjectSimulator& gameObjects() { return *m_gameObjects; }
    MainThreadWork& mainThreadWork() { return m_mainThreadWork; }
    // Null without system components (tests, tools).
    GameSession* session() const;

private:
    void connectWorld();
    void onLevelStarted();
    void fitCameraToViewport();
    void refillLampAtSurface(float step);
    void slowDownAfterGameOver(float step);
    void showStatus();
    void addToSlotTotals(float step);
    // Level change (LevelChange.cpp).
    void restoreStoredEntities(PersistentLevelInfo& record);
    void freeTilesUnder(const GameObject& object);
    void placePlayer(const PersistentLevelInfo& record, bool visited);
    void saveOnLevelChange();
    void addMapTierDepths();
    // Level start (LevelPopulation.cpp).
    void restoreVitalValues(ActorObject& player);
    void openDeathConversation();
    void placeActors();
    void placeResources();
    void placeExits();
    void placeShapes();
    // The start level: "Debug.SetLevel" of the start, else the respawn level (its default
    // once a failed load reset it).
    std::string startLevelOf(const PlayStart& start) const;
    // A forced start position held inside the current level, with a warning when it was not.
    fpVector2 forcedPositionInLevel(const fpVector2& requested) const;
    void giveBaseItems();

    World& m_world;
    UserInterface& m_userInterface;
    SystemComponents* m_components;
    GameAudio& m_audio;
    std::shared_ptr<const LevelSource> m_levels;
    MainThreadWork m_mainThreadWork;
    std::unique_ptr<ScriptSimulator> m_scriptSimulator;
    std::unique_ptr<GameObjectSimulator> m_gameObjects;
    std::unique_ptr<GameRules> m_rules;
    std::unique_ptr<QuestTracking> m_quests;
    std::unique_ptr<WorldPersistence> m_persistence;
    std::vector<EventConnection> m_connections;
    EventConnection m_leavingGame;
    EventConnection m_gameOverClosed;
    float m_timeScale = 1.0f;
    bool m_gameOver = false;
    float m_gameOverTime = 0.0f;  // seconds of simulation since the game-over screen opened
    bool m_respawnLevelReset = false;
    std::string m_requestedLevel;
    std::string m_requestedEntry;
    fpVector2 m_requestedPosition;
    fpVector2 m_lastViewportSize{-1.0f, -1.0f};
};

} // namespace zor
