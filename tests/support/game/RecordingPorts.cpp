#include "tests/support/game/RecordingPorts.h"

#include "tests/support/game/ActingUserInterface.h"

#include "game/simulation/ports/StepSounds.h"

#include "Framework/system/surface/UpdateRecord.h"

#include <sstream>
#include <stdexcept>

namespace zor::test {

namespace {

// The call's name and its arguments, separated by blanks.
template <class... Arguments>
std::string callText(const char* name, const Arguments&... arguments) {
    std::ostringstream text;
    text << name;
    ((text << ' ' << arguments), ...);
    return text.str();
}

} // namespace

std::vector<std::string> Recordings::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
    return found;
}

void RecordingVisualizer::createRenderResources() {
    m_recordings.calls.push_back("Visualizer.createRenderResources");
}

void RecordingVisualizer::update(const UpdateRecord& record) {
    m_recordings.calls.push_back("Visualizer.update");
    m_recordings.visualizerSteps.push_back(record.stepLength);
}

void RecordingVisualizer::render(const UpdateRecord& drawRecord) {
    m_recordings.calls.push_back("Visualizer.render");
    m_recordings.visualizerRenderSteps.push_back(drawRecord.stepLength);
}

bool RecordingVisualizer::handleDebugInput(InputState&) {
    m_recordings.calls.push_back("Visualizer.handleDebugInput");
    return takesInput;
}

void RecordingAudiolizer::update(const UpdateRecord& record) {
    m_recordings.calls.push_back("Audiolizer.update");
    m_recordings.audiolizerSteps.push_back(record.stepLength);
    StepSounds sounds = takeStepSounds(m_world);
    m_recordings.soundRequests.insert(m_recordings.soundRequests.end(), sounds.requests.begin(), sounds.requests.end());
    m_recordings.objectSounds.insert(m_recordings.objectSounds.end(), sounds.objectSounds.begin(),
                                     sounds.objectSounds.end());
}

void RecordingScriptSimulator::build() {
    m_recordings.calls.push_back("ScriptSimulator.build");
    if (!m_recordings.scriptBuildFailure.empty()) throw std::runtime_error(m_recordings.scriptBuildFailure);
}

void RecordingScriptSimulator::update(float step) {
    m_recordings.calls.push_back("ScriptSimulator.update");
    m_recordings.scriptSteps.push_back(step);
}

void RecordingUserInterface::record(const std::string& call) {
    m_recordings.calls.push_back("UserInterface." + call);
    noteThread();
}

void RecordingUserInterface::noteThread() {
    if (m_recordings.noteThreads)
        m_recordings.callThreads.emplace_back(m_recordings.calls.back(), std::this_thread::get_id());
}

void RecordingUserInterface::createRenderResources() { record("createRenderResources"); }

bool RecordingUserInterface::handleInput(InputState&) {
    record("handleInput");
    return takesInput;
}

void RecordingUserInterface::update(const UpdateRecord& record) {
    this->record("update");
    m_recordings.userInterfaceSteps.push_back(record.stepLength);
}

void RecordingUserInterface::draw() { record("draw"); }

void RecordingUserInterface::clearInventorySelection() {
    record("clearInventorySelection");
    slotSelected = false;
}

EventList<>& RecordingUserInterface::showGameOver(std::int32_t lostCash) {
    record(callText("showGameOver", lostCash));
    return gameOverClosed;
}

void RecordingUserInterface::showBanner(const std::string& key, const std::string& headerTextId,
                                        const std::string& itemText, float seconds) {
    record(callText("showBanner", key, headerTextId, itemText, seconds));
}

void RecordingUserInterface::clearBanners() { record("clearBanners"); }

void RecordingUserInterface::showExpBanner() { record("showExpBanner"); }

void RecordingUserInterface::setExpBannerProgress(float experience, float levelProgress, std::int32_t levelNumber,
                                                  std::int32_t nextThreshold) {
    record(callText("setExpBannerProgress", experience, levelProgress, levelNumber, nextThreshold));
}

void RecordingUserInterface::setExpBannerMaxLevel() { record("setExpBannerMaxLevel"); }

void RecordingUserInterface::setHudHidden(bool hidden) {
    record(callText("setHudHidden", hidden ? 1 : 0));
    NullUserInterface::setHudHidden(hidden);
}

void RecordingUserInterface::setExpBannerPulse(float pulse) { record(callText("setExpBannerPulse", pulse)); }

void RecordingUserInterface::hideExpBanner() { record("hideExpBanner"); }

void RecordingUserInterface::spawnScreenEffect(const std::string& effectName, std::int32_t viewport,
                                               const fpVector2& screenPosition) {
    record(callText("spawnScreenEffect", effectName, viewport, screenPosition));
}

void RecordingUserInterface::showSavedGameNotice() { record("showSavedGameNotice"); }
void RecordingUserInterface::showSaveProblem(const std::string& message) { record("showSaveProblem " + message); }

void RecordingUserInterface::startConversation(const std::string& conversationName) {
    record(callText("startConversation", conversationName));
}

void RecordingUserInterface::showIndicator(const std::string& name, const std::string& text) {
    record(callText("showIndicator", name, text));
}

void RecordingUserInterface::addMapTierDepth(float depthInTiles) { record(callText("addMapTierDepth", depthInTiles)); }

void RecordingUserInterface::setMapCellSystem(std::shared_ptr<CellSystem>) { record("setMapCellSystem"); }

void RecordingUserInterface::setMapToolInfo(std::int32_t weaponIndex, float value) {
    record(callText("setMapToolInfo", weaponIndex, value));
}

void RecordingUserInterface::setStatusBar(StatusBar bar, float value, float maximum) {
    record(callText("setStatusBar", std::int32_t(bar), value, maximum));
}

void RecordingUserInterface::flashStatusBar(StatusBar bar) { record(callText("flashStatusBar", std::int32_t(bar))); }

void RecordingUserInterface::setStatusBarGlow(StatusBar bar, std::int32_t mode, PackedColor color) {
    record(callText("setStatusBarGlow", std::int32_t(bar), mode, color.value));
}

void RecordingUserInterface::flashToolSlot() { record("flashToolSlot"); }

void RecordingUserInterface::showInventoryPanel(float seconds) { record(callText("showInventoryPanel", seconds)); }

std::uint32_t RecordingGameAudio::start(const CueStart& cue) {
    m_recordings.cues.push_back({cue.cue, cue.mix, cue.pitch, cue.position, cue.loop});
    if (m_recordings.noteThreads) noteThread("GameAudio.playCue " + cue.cue);
    return std::uint32_t(m_recordings.cues.size());
}

void RecordingGameAudio::setVolumeAndPan(std::uint32_t handle, const ListenerMix& mix) {
    m_recordings.mixChanges.push_back({handle, mix});
    if (m_recordings.noteThreads) noteThread(callText("GameAudio.setVolumeAndPan", handle));
}

void RecordingGameAudio::setPitch(std::uint32_t handle, float factor) {
    m_recordings.pitchChanges.push_back({handle, factor});
    if (m_recordings.noteThreads) noteThread(callText("GameAudio.setPitch", handle));
}

void RecordingGameAudio::playMusic(const std::string& track, float fade) {
    m_recordings.calls.push_back(callText("GameAudio.playMusic", track, fade));
    noteThread(m_recordings.calls.back());
}

void RecordingGameAudio::stop(std::uint32_t handle) {
    m_recordings.calls.push_back(callText("GameAudio.stop", handle));
    noteThread(m_recordings.calls.back());
}

void RecordingGameAudio::stopAllSounds() {
    m_recordings.calls.push_back("GameAudio.stopAllSounds");
    noteThread(m_recordings.calls.back());
}

void RecordingGameAudio::stopMusic(float fade) {
    m_recordings.calls.push_back(callText("GameAudio.stopMusic", fade));
    noteThread(m_recordings.calls.back());
}

void RecordingGameAudio::setMusicAttenuation(float factor) {
    m_recordings.musicAttenuations.push_back(factor);
    noteThread(callText("GameAudio.setMusicAttenuation", factor));
}

void RecordingGameAudio::noteThread(const std::string& call) {
    if (m_recordings.noteThreads) m_recordings.callThreads.emplace_back(call, std::this_thread::get_id());
}

std::shared_ptr<GameAudio> RecordingPorts::makeGameAudio(World& world) const {
    return std::make_shared<RecordingGameAudio>(*recordings, world);
}

std::shared_ptr<UserInterface> RecordingPorts::makeUserInterface(IngameGraphics*, SystemComponents*,
                                                                World& world) const {
    const std::shared_ptr<RecordingUserInterface> userInterface =
        actingScreens ? std::make_shared<ActingUserInterface>(*recordings, world)
                      : std::make_shared<RecordingUserInterface>(*recordings);
    recordings->userInterface = userInterface.get();
    return userInterface;
}

std::shared_ptr<Visualizer> RecordingPorts::makeVisualizer(SystemComponents*, IngameGraphics*, World&) const {
    auto visualizer = std::make_shared<RecordingVisualizer>(*recordings);
    recordings->visualizer = visualizer.get();
    return visualizer;
}

std::shared_ptr<Audiolizer> RecordingPorts::makeAudiolizer(World& world, GameAudio&) const {
    return std::make_shared<RecordingAudiolizer>(*recordings, world);
}

std::unique_ptr<ScriptSimulator> RecordingPorts::makeScriptSimulator(SystemComponents*, Simulator&, World&) const {
    return std::make_unique<RecordingScriptSimulator>(*recordings);
}

} // namespace zor::test
