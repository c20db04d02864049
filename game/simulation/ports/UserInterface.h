#pragma once
// The port of the in-game user interface, with the entry points the simulation calls. A
// Game makes it on the worker thread, so a constructor may read the World and the
// definitions only; layouts, textures and process-wide lists wait for
// createRenderResources on the main thread.

#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Color.h"
#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zor {

class CellSystem;
class InputState;
struct UpdateRecord;

// The bars of the status display.
enum class StatusBar : std::int32_t { Health = 0, Water = 1, Light = 2 };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Main thread: after the Game is handed back, and after a demo restart.
    virtual void createRenderResources() = 0;
    virtual bool handleInput(InputState& input) = 0;
    // Screens, banners, messages and effects, with the unscaled step. Rewrites the World's
    // screen-open flag; fires its conversationEnded list when a conversation is over.
    virtual void update(const UpdateRecord& record) = 0;
    virtual void draw() = 0;

    // What pauses the game: the pause screen is the modal screen, or a slot of the
    // inventory screen is selected (until clearInventorySelection).
    virtual bool pauseScreenOpen() const = 0;
    virtual bool inventorySlotSelected() const = 0;
    virtual void clearInventorySelection() = 0;

    // Set from startConversation until the talk screen closes.
    virtual bool conversationOpen() const = 0;
    virtual bool shopOpen() const = 0;
    // While set, the status display and the inventory screen are not drawn.
    virtual bool hudHidden() const = 0;
    virtual void setHudHidden(bool hidden) = 0;

    // Opens the game-over screen with the money the death cost; the list fires when the
    // player continues.
    virtual EventList<>& showGameOver(std::int32_t lostCash) = 0;
    // A text banner kept under the key, replacing the one shown under the same key.
    virtual void showBanner(const std::string& key, const std::string& headerTextId, const std::string& itemText,
                            float seconds) = 0;
    virtual void clearBanners() = 0;
    virtual void showExpBanner() = 0;
    virtual void setExpBannerProgress(float experience, float levelProgress, std::int32_t levelNumber,
                                      std::int32_t nextThreshold) = 0;
    virtual void setExpBannerMaxLevel() = 0;
    // The banner's pulse, 1 at the start of each period falling towards 0; 0 for none.
    virtual void setExpBannerPulse(float pulse) = 0;
    virtual void hideExpBanner() = 0;
    // Plays a named effect once at a screen position of a viewport (-1: the last one).
    virtual void spawnScreenEffect(const std::string& effectName, std::int32_t viewport,
                                   const fpVector2& screenPosition) = 0;
    // The screen position of a node of the top screen's layout; (0, 0) when none has it.
    virtual fpVector2 getWidgetPosition(const std::string& nodeName) const = 0;
    // The localized line "ui_saved_game" as a timed message.
    virtual void showSavedGameNotice() = 0;
    // A save that failed, or a saved game that could not be read and was moved aside:
    // the player is told, play goes on.
    virtual void showSaveProblem(const std::string& message) = 0;
    virtual void startConversation(const std::string& conversationName) = 0;
    // A named indicator of the status display, for this step.
    virtual void showIndicator(const std::string& name, const std::string& text) = 0;
    virtual void addMapTierDepth(float depthInTiles) = 0;
    virtual void setMapToolInfo(std::int32_t weaponIndex, float value) = 0;
    virtual void setMapCellSystem(std::shared_ptr<CellSystem> cells) = 0;
    // Value and maximum; the light bar in minutes.
    virtual void setStatusBar(StatusBar bar, float value, float maximum) = 0;
    virtual void flashStatusBar(StatusBar bar) = 0;
    // Mode 0 off, 1 rising, 2 falling or warning, 3 full; an all-zero colour is the bar's own.
    virtual void setStatusBarGlow(StatusBar bar, std::int32_t mode, PackedColor color) = 0;
    // A building could not be placed.
    virtual void flashToolSlot() = 0;
    // The inventory panel shows while the timer runs.
    virtual void showInventoryPanel(float seconds) = 0;
};

} // namespace zor
