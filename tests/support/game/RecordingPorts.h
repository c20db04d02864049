#pragma once
// Ports that record what a harness game asks of them. Every port call is appended to one
// call list ("UserInterface.showBanner banner_quest found_secret found_secret 2"), the step
// lengths of the updates and the game's sound requests and cues to lists of their own. The
// interface's pause state and the answers to input are set by the test.

#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/ports/GamePorts.h"
#include "game/simulation/ports/NullPorts.h"
#include "game/world/World.h"

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zor::test {

class RecordingUserInterface;
class RecordingVisualizer;

struct CuePlay {
    std::string cue;
    ListenerMix mix;
    float pitch = 1.0f;
    std::optional<fpVector2> position;
    bool loop = false;
};

// A new mix or pitch for a playing sound.
struct MixChange {
    std::uint32_t handle = 0;
    ListenerMix mix;
};

struct PitchChange {
    std::uint32_t handle = 0;
    float pitch = 1.0f;
};

struct Recordings {
    std::vector<std::string> calls;
    std::vector<float> visualizerSteps;
    std::vector<float> visualizerRenderSteps;
    std::vector<float> audiolizerSteps;
    std::vector<float> userInterfaceSteps;
    std::vector<float> scriptSteps;
    // The World's sound requests, as the Audiolizer took them each step.
    std::vector<SoundRequest> soundRequests;
    // The game objects' pending sounds, as the Audiolizer took them each step.
    std::vector<std::string> objectSounds;
    // The cues started, in order: a cue's handle is its place in this list plus 1.
    std::vector<CuePlay> cues;
    std::vector<MixChange> mixChanges;
    std::vector<PitchChange> pitchChanges;
    std::vector<float> musicAttenuations;
    // When not empty, building a level's script graph throws a runtime error with it.
    std::string scriptBuildFailure;
    // The ports the game made last (a demo restart makes new ones).
    RecordingUserInterface* userInterface = nullptr;
    RecordingVisualizer* visualizer = nullptr;

    // The calls whose text begins with `prefix`.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    // While noteThreads is set (HarnessOptions::workerThread sets it), each interface and
    // game-audio call with the thread it came from, in call order: the interface and the
    // sound belong to the main thread.
    bool noteThreads = false;
    std::vector<std::pair<std::string, std::thread::id>> callThreads;
};

class RecordingVisualizer final : public Visualizer {
public:
    explicit RecordingVisualizer(Recordings& recordings) : m_recordings(recordings) {}
    ~RecordingVisualizer() override { m_recordings.calls.push_back("Visualizer.destroyed"); }

    void createRenderResources() override;
    void update(const UpdateRecord& record) override;
    void render(const UpdateRecord& drawRecord) override;
    bool handleDebugInput(InputState& input) override;

    // The answer to input.
    bool takesInput = false;

private:
    Recordings& m_recordings;
};

class RecordingAudiolizer final : public Audiolizer {
public:
    // Plays (records) and empties the World's sound requests and the objects' pending
    // sounds every step.
    RecordingAudiolizer(Recordings& recordings, World& world) : m_recordings(recordings), m_world(world) {}

    void update(const UpdateRecord& record) override;

private:
    Recordings& m_recordings;
    World& m_world;
};

class RecordingScriptSimulator final : public ScriptSimulator {
public:
    explicit RecordingScriptSimulator(Recordings& recordings) : m_recordings(recordings) {}

    void build() override;
    void update(float step) override;

private:
    Recordings& m_recordings;
};

class RecordingUserInterface : public NullUserInterface {
public:
    explicit RecordingUserInterface(Recordings& recordings) : m_recordings(recordings) {}

    void createRenderResources() override;
    bool handleInput(InputState& input) override;
    void update(const UpdateRecord& record) override;
    void draw() override;
    bool pauseScreenOpen() const override { return pauseScreen; }
    bool inventorySlotSelected() const override { return slotSelected; }
    void clearInventorySelection() override;
    EventList<>& showGameOver(std::int32_t lostCash) override;
    void showBanner(const std::string& key, const std::string& headerTextId, const std::string& itemText,
                    float seconds) override;
    void clearBanners() override;
    void showExpBanner() override;
    void setExpBannerProgress(float experience, float levelProgress, std::int32_t levelNumber,
                              std::int32_t nextThreshold) override;
    void setExpBannerMaxLevel() override;
    void setExpBannerPulse(float pulse) override;
    void hideExpBanner() override;
    void spawnScreenEffect(const std::string& effectName, std::int32_t viewport,
                           const fpVector2& screenPosition) override;
    void showSavedGameNotice() override;
    void showSaveProblem(const std::string& message) override;
    void startConversation(const std::string& conversationName) override;
    void showIndicator(const std::string& name, const std::string& text) override;
    void addMapTierDepth(float depthInTiles) override;
    void setMapCellSystem(std::shared_ptr<CellSystem> cells) override;
    void setMapToolInfo(std::int32_t weaponIndex, float value) override;
    void setStatusBar(StatusBar bar, float value, float maximum) override;
    void flashStatusBar(StatusBar bar) override;
    void setStatusBarGlow(StatusBar bar, std::int32_t mode, PackedColor color) override;
    void flashToolSlot() override;
    void showInventoryPanel(float seconds) override;
    void setHudHidden(bool hidden) override;

    // Set by the test: what pauses the game, and the answer to input.
    bool pauseScreen = false;
    bool slotSelected = false;
    bool takesInput = false;
    // Fired by the test when the player continues after a game over.
    EventList<> gameOverClosed;

private:
    void record(const std::string& call);
    void noteThread();

    Recordings& m_recordings;
};

class RecordingGameAudio final : public GameAudio {
public:
    // Mixes against the World's listener as the game's audio does.
    RecordingGameAudio(Recordings& recordings, const World& world) : GameAudio(world), m_recordings(recordings) {}

    void setVolumeAndPan(std::uint32_t handle, const ListenerMix& mix) override;
    void setPitch(std::uint32_t handle, float factor) override;
    void stop(std::uint32_t handle) override;
    void stopAllSounds() override;
    void playMusic(const std::string& track, float fade) override;
    void stopMusic(float fade) override;
    void setMusicAttenuation(float factor) override;

protected:
    // Every cue started gets a new handle, from 1 on.
    std::uint32_t start(const CueStart& cue) override;

private:
    void noteThread(const std::string& call);

    Recordings& m_recordings;
};

// The factory of recording ports; the recordings outlive the ports.
class RecordingPorts final : public GamePorts {
public:
    std::shared_ptr<GameAudio> makeGameAudio(World& world) const override;
    std::shared_ptr<UserInterface> makeUserInterface(IngameGraphics* graphics, SystemComponents* components,
                                                     World& world) const override;
    std::shared_ptr<Visualizer> makeVisualizer(SystemComponents* components, IngameGraphics* graphics,
                                               World& world) const override;
    std::shared_ptr<Audiolizer> makeAudiolizer(World& world, GameAudio& audio) const override;
    std::unique_ptr<ScriptSimulator> makeScriptSimulator(SystemComponents* components, Simulator& simulator,
                                                         World& world) const override;

    std::shared_ptr<Recordings> recordings = std::make_shared<Recordings>();
    // The interfaces made answer as the screens will (ActingUserInterface).
    bool actingScreens = false;
};

} // namespace zor::test
