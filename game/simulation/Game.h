#pragma once
// The running game inside the in-game state: it owns the World, the Simulator, the
// LightSimulator, the Visualizer, the Audiolizer and the UserInterface of the level being
// played, decides their order in each step, routes input, draws, pauses, and carries out
// level changes (a 0.2 s fade to black, the build on the worker, the hand-back to the
// main thread, the fade in), the quit to the front end and the demo restart.
//
// The Game is made, does every level build and is destroyed on the worker thread; the
// rest runs on the main thread. While the worker holds it the host does not call it:
// levelBuildRunning() guards the level builds, the host's own state the rest.

#include "game/simulation/PlayStart.h"
#include "game/simulation/ports/GamePorts.h"

#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/graphics/primitive/ScreenFade.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class Audiolizer;
class GameAudio;
class IWorkQueue;
class InputState;
class LevelSource;
class LightSimulator;
class SeamFactory;
class Simulator;
class SystemComponents;
class UserInterface;
class Visualizer;
class World;
struct UpdateRecord;

// What the host lends a Game for its whole life.
struct GameContext {
    SystemComponents* components = nullptr;  // may be null: no sprite loading, no fade drawing
    IngameGraphics* graphics = nullptr;
    std::shared_ptr<const GamePorts> ports;  // required
    IWorkQueue* workerQueue = nullptr;       // runs the level builds; required
    IWorkQueue* mainQueue = nullptr;         // runs the hand-backs on the main thread; required
    // The rules of the later parts of the game; null: the safe defaults.
    std::shared_ptr<const SeamFactory> seams;
    // Where levels come from; null: the level builder over the game data.
    std::shared_ptr<const LevelSource> levels;
    // Seeds the generator of every simulation draw; drawn by the host on the main thread.
    std::uint32_t seed = 0;
    // The debug requests of the settings (takePlayStart on the main thread): the Game is
    // built on the worker, which leaves the settings alone.
    PlayStart playStart;
};

class Game {
public:
    static constexpr float FadeSeconds = 0.2f;

    // Makes the six subsystems and starts play, building the first level. Worker thread.
    explicit Game(const GameContext& context);
    // Worker thread, after the host fired the World's leavingGame list on the main thread.
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Main thread, once after construction: the presentation's GPU resources, the level
    // flow's main-thread work of the construction, then the World's levelReady list.
    void recreateGraphics();
    bool handleInput(InputState& input);
    // One game step. Not while levelBuildRunning().
    void update(const UpdateRecord& record);
    // The draw record is the host's; the fade's clock advances once per frame here.
    void draw(const UpdateRecord& drawRecord);
    // The interface holds the game: its pause screen is open or an inventory slot is selected.
    bool isPaused() const;

    // Listeners of the World's quitRequested and restartRequested lists: fade out, then
    // leave (the host's part) or restart the demo. A second request changes nothing.
    void requestQuit();
    void requestRestart();

    bool levelBuildRunning() const { return m_levelBuildRunning; }
    bool quitRequested() const { return m_quitRequested; }
    const ScreenFade& fade() const { return m_fade; }
    bool fadeOver() const { return m_fade.duration <= m_fade.elapsed; }

    World& world() const { return *m_world; }
    Simulator& simulator() const { return *m_simulator; }
    LightSimulator& lightSimulator() const { return *m_lightSimulator; }
    Visualizer& visualizer() const { return *m_visualizer; }
    Audiolizer& audiolizer() const { return *m_audiolizer; }
    UserInterface& userInterface() const { return *m_userInterface; }
    GameAudio& audio() const { return *m_audio; }
    Randomizer& random() { return m_random; }

private:
    void makeSubsystems();
    void releaseSubsystems();
    void rebuild();
    void startLevelBuild();
    void buildLevelJob();
    void onLevelBuilt();
    void startFade(std::int32_t direction);

    GameContext m_context;
    std::vector<EventConnection> m_connections;
    bool m_levelBuildRunning = false;
    bool m_quitRequested = false;
    bool m_pausedLastStep = false;
    bool m_restartRequested = false;
    Randomizer m_random;
    std::shared_ptr<World> m_world;
    std::shared_ptr<GameAudio> m_audio;
    std::shared_ptr<UserInterface> m_userInterface;
    std::shared_ptr<Simulator> m_simulator;
    std::shared_ptr<LightSimulator> m_lightSimulator;
    std::shared_ptr<Visualizer> m_visualizer;
    std::shared_ptr<Audiolizer> m_audiolizer;
    ScreenFade m_fade;
    DebugFlag& m_clearPersistent;
};

} // namespace zor
