#pragma once
// The rules that act on the World at game level: the level flow with its pending level
// change and its builds, the game-over state and the time scale the Game applies, the
// level's script graph, and the World's deferred removals at the end of each step.

#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zor {

class GameAudio;
class GamePorts;
class ScriptSimulator;
class SystemComponents;
class UserInterface;
class World;
struct UpdateRecord;

class Simulator {
public:
    // The World, the interface and the audio must outlive the Simulator.
    Simulator(World& world, UserInterface& userInterface, SystemComponents* components, GameAudio& audio,
              const GamePorts& ports);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The level play starts in: "Debug.SetLevel" once when it is set, else
    // "Profile.RespawnLevel". Main thread: taking a setting changes it and fires its list.
    static std::string takeStartLevel();

    // Begins play in the start level, which is built at once (on the worker, inside the
    // Game's construction, so the level is taken from the settings before).
    void start(const std::string& startLevel);
    // Begins a demo (main thread): as start, with the World in demo mode.
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
    // Carries out the pending level change: the new level replaces the old one, every entity
    // is removed, the World's levelStarted list fires and the request is cleared.
    void buildLevel();

    // The player's death is final: shows the game-over screen with the money it cost and
    // slows the game to a halt; the screen's closed list continues. Once per game over.
    void showGameOver(std::int32_t lostCash);
    // Back to normal speed, sound and view, and off to the respawn level (or the start of
    // the same cave).
    void continueAfterGameOver();

    bool levelChangePending() const { return !m_requestedLevel.empty(); }
    const std::string& requestedLevel() const { return m_requestedLevel; }
    const std::string& requestedEntry() const { return m_requestedEntry; }
    const fpVector2& requestedPosition() const { return m_requestedPosition; }
    // The factor of the simulation's step length: 1, falling after a game over.
    float timeScale() const { return m_timeScale; }
    bool gameOver() const { return m_gameOver; }
    // The handler of the light's found secrets.
    void onSecretFound();

    ScriptSimulator& scriptSimulator() { return *m_scriptSimulator; }
    GameAudio& audio() { return m_audio; }

private:
    void fitCameraToViewport();
    void slowDownAfterGameOver(float step);

    World& m_world;
    UserInterface& m_userInterface;
    GameAudio& m_audio;
    std::unique_ptr<ScriptSimulator> m_scriptSimulator;
    EventConnection m_leavingGame;
    EventConnection m_gameOverClosed;
    float m_timeScale = 1.0f;
    bool m_gameOver = false;
    float m_gameOverTime = 0.0f;  // seconds of simulation since the game-over screen opened
    std::string m_requestedLevel;
    std::string m_requestedEntry;
    fpVector2 m_requestedPosition;
    fpVector2 m_lastViewportSize{-1.0f, -1.0f};
};

} // namespace zor
