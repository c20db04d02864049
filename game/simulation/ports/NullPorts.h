#pragma once
// Ports that show, play and script nothing, for a Game without presentation, scripts or
// interface. The interface never pauses the game and has no screens open.

#include "game/simulation/ports/Audiolizer.h"
#include "game/simulation/ports/StepSounds.h"
#include "game/simulation/ports/ScriptSimulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/ports/Visualizer.h"

namespace zor {

class NullVisualizer : public Visualizer {
public:
    void createRenderResources() override {}
    void update(const UpdateRecord&) override {}
    void render(const UpdateRecord&) override {}
    bool handleDebugInput(InputState&) override { return false; }
};

// Plays nothing, but takes the step's sounds like a real one.
class NullAudiolizer : public Audiolizer {
public:
    explicit NullAudiolizer(World& world) : m_world(world) {}
    void update(const UpdateRecord&) override { takeStepSounds(m_world); }

private:
    World& m_world;
};

class NullScriptSimulator : public ScriptSimulator {
public:
    void build() override {}
    void update(float) override {}
};

class NullUserInterface : public UserInterface {
public:
    void createRenderResources() override {}
    bool handleInput(InputState&) override { return false; }
    void update(const UpdateRecord&) override {}
    void draw() override {}
    bool pauseScreenOpen() const override { return false; }
    bool inventorySlotSelected() const override { return false; }
    void clearInventorySelection() override {}
    bool conversationOpen() const override { return false; }
    bool shopOpen() const override { return false; }
    bool hudHidden() const override { return m_hudHidden; }
    void setHudHidden(bool hidden) override { m_hudHidden = hidden; }
    // The list of the one game-over screen there is, fired by nobody.
    EventList<>& showGameOver(std::int32_t) override { return m_gameOverClosed; }
    void showBanner(const std::string&, const std::string&, const std::string&, float) override {}
    void clearBanners() override {}
    void showExpBanner() override {}
    void setExpBannerProgress(float, float, std::int32_t, std::int32_t) override {}
    void setExpBannerMaxLevel() override {}
    void setExpBannerPulse(float) override {}
    void hideExpBanner() override {}
    void spawnScreenEffect(const std::string&, std::int32_t, const fpVector2&) override {}
    fpVector2 getWidgetPosition(const std::string&) const override { return fpVector2(); }
    void showSavedGameNotice() override {}
    void showSaveProblem(const std::string&) override {}
    void startConversation(const std::string&) override {}
    void showIndicator(const std::string&, const std::string&) override {}
    void addMapTierDepth(float) override {}
    void setMapToolInfo(std::int32_t, float) override {}
    void setMapCellSystem(std::shared_ptr<CellSystem>) override {}
    void setStatusBar(StatusBar, float, float) override {}
    void flashStatusBar(StatusBar) override {}
    void setStatusBarGlow(StatusBar, std::int32_t, PackedColor) override {}
    void flashToolSlot() override {}
    void showInventoryPanel(float) override {}

private:
    bool m_hudHidden = false;
    EventList<> m_gameOverClosed;
};

} // namespace zor
