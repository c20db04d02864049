#pragma once
// A Game without window, sound or worker thread, stepped as the in-game host steps it:
// recording ports and seams, inline work queues, fixed 1/60 s steps, a seeded generator,
// viewport 0 laid out at 640 x 360 units, the light's secret cooldown cleared, the fixture
// definitions and levels (or the sample game data, see HarnessOptions) and scripted virtual
// buttons.
//
//     GameHarness harness({7});
//     harness.world().spawnResource("orb_cluster", {100, 100}, -1);
//     harness.runSteps(600);
//     EXPECT_EQ(harness.stateHash(), other.stateHash());
//
// Each step, in this order: the worker's jobs, then the main thread's (hand-backs), then,
// unless the Game builds a level, the buttons as input, Game::handleInput, Game::update and,
// unless that posted a level build, Game::draw; then the input step ends. Once the Game has
// quit and its fade is over, the harness fires the World's leavingGame list instead of
// drawing, as the host does, and steps nothing more.

#include "tests/support/game/InlineWorkQueue.h"
#include "tests/support/game/RecordingPorts.h"
#include "tests/support/game/RecordingSeams.h"

#include "game/simulation/PlayStart.h"

#include "Framework/input/InputState.h"
#include "Framework/input/KeyNames.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace zor {
class Game;
struct GameContext;
class GameObjectSimulator;
class GameSession;
class SystemComponents;
class LevelSource;
class SettingsHandler;
class Simulator;
class World;
} // namespace zor

namespace zor::test {

struct HarnessOptions {
    HarnessOptions(std::uint32_t seed = 1, std::string startLevel = "fixture_mine")
        : seed(seed), startLevel(std::move(startLevel)) {}

    std::uint32_t seed;
    // The level the game starts in.
    std::string startLevel;
    // The worker runs each job as it is posted, before the poster goes on.
    bool workerRunsAtPost = false;
    // As in the program: the Game is made, builds its levels and is destroyed on a worker
    // thread of its own, and hands back through a pumped queue on the test's thread. Steps
    // do not wait for the worker: while a build runs they pass as the host's do. The
    // recorders note each call's thread.
    bool workerThread = false;
    // The sample game data of "BundlePC" (its definitions, settings, patch library and
    // level files) instead of the fixture definitions and levels. A test program uses one
    // or the other: the definition registries keep the first record of a name.
    bool sampleData = false;
    // The other debug requests of the start (its setLevel is startLevel).
    PlayStart start;
    // Where levels come from; null: the fixture levels (or the sample data's files).
    std::shared_ptr<const LevelSource> levels;
    // Gives the game system components holding a game session (slot 0, new), whose totals
    // the simulation keeps; without, the game has no components at all.
    bool withSession = false;
    // With withSession: the session is read from "session.xml" of the user folder and its
    // current slot selected (made when new), as the program does before a game starts.
    bool loadSession = false;
    // The game's own rules (sale, experience, upgrades, counters, debug commands) and
    // quest tracker instead of the recording seams; the other seams still record.
    bool gameRules = false;
    // The save slot's files in the user folder (set up by the test) behind the recorded
    // persistence calls, instead of the safe defaults.
    bool saveFiles = false;
    // The game's own object physics, senses, camera and actor movement run behind the
    // recorders (by default those steps do what the seams' safe defaults do).
    bool gameMovement = false;
    // The game's own contact rules answer the physics' contacts (still recorded).
    bool gameContacts = false;
    // The interface ends conversations and continues after a game over as the screens will
    // (ActingUserInterface); it still records.
    bool actingScreens = false;
    // Real ports in place of some recorders: given the recording ports, the factory the
    // game uses (a ForwardingPorts over them that overrides what it brings). Null: the
    // recorders alone.
    std::function<std::shared_ptr<const GamePorts>(std::shared_ptr<const GamePorts> recorders)> ports;
};

class GameHarness {
public:
    static constexpr float StepLength = 1.0f / 60.0f;

    // Loads the fixture definitions and builds the Game (its first level included).
    explicit GameHarness(const HarnessOptions& options = HarnessOptions());
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    Game& game() { return *m_game; }
    World& world();
    Simulator& simulator();
    Recordings& recordings() { return *m_ports->recordings; }
    // The interface the game uses now.
    RecordingUserInterface& userInterface() { return *m_ports->recordings->userInterface; }
    SeamRecordings& seams() { return *m_seams->recordings; }
    GameObjectSimulator& objects();
    // Inline queues; with HarnessOptions::workerThread the game uses others.
    InlineWorkQueue& workerQueue() { return m_worker; }
    InlineWorkQueue& mainQueue() { return m_main; }
    InputState& input() { return m_input; }
    // Null unless HarnessOptions::withSession.
    GameSession* session() { return m_session.get(); }

    void runSteps(int count);
    // True once the harness has left the quit game.
    bool left() const { return m_left; }
    // Steps run so far.
    std::int32_t steps() const { return m_steps; }

    // The virtual button goes down in the next step and stays held until released; the
    // release shows in the next step.
    void press(const std::string& button);
    void release(const std::string& button);

    // A digest of the simulation: every entity in id order (ids counted from the
    // harness's first), the level's name and byte grid, the camera, the camera requests,
    // the World's colours and counters, the boss fight's phase and boss, the progress, the
    // pending level change, the fade and the generator. Floats by their bits.
    std::uint64_t stateHash();

    // Steps until the Game neither builds nor has a level change pending; false when that
    // takes more than `maxSteps`.
    bool runUntilSettled(int maxSteps);
    // Steps until the condition holds, at most `seconds` of game time; true when it held.
    template <class Condition>
    bool runUntil(Condition condition, float seconds) {
        for (long step = 0; step < std::lround(seconds / StepLength); ++step) {
            if (condition()) return true;
            runSteps(1);
        }
        return condition();
    }

private:
    void step();
    // The worker-thread mode: the Game made on the worker, and handed back.
    void buildOnWorker(const GameContext& context);
    // The pumped queue's jobs; a failed worker job is thrown here as a runtime error.
    void pumpHandBacks();
    // What the host does with the Game in one step.
    void playStep();
    KeyCode keyOf(const std::string& button);

    std::shared_ptr<RecordingPorts> m_ports = std::make_shared<RecordingPorts>();
    std::shared_ptr<RecordingSeams> m_seams = std::make_shared<RecordingSeams>();
    std::unique_ptr<SettingsHandler> m_ownSettings;
    std::shared_ptr<GameSession> m_session;
    std::unique_ptr<SystemComponents> m_components;
    InlineWorkQueue m_worker;
    InlineWorkQueue m_main;
    std::unique_ptr<ThreadedWorkQueue> m_threadedWorker;
    PumpedWorkQueue m_pumped;
    bool m_workerFailed = false;
    InputState m_input;
    std::map<std::string, KeyCode> m_keys;
    std::set<std::string> m_held;
    std::int32_t m_firstId;
    std::unique_ptr<Game> m_game;
    UpdateRecord m_record;
    std::int32_t m_steps = 0;
    bool m_left = false;
};

} // namespace zor::test
