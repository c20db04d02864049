#pragma once
// Game state 3, the host of a running Game. It takes the slot's profile and the debug
// requests of the settings, builds the Game on the worker thread and shows its loader
// meanwhile; once the Game is handed back it gives it every step, input and frame, except
// while the Game builds a level. Its own key requests the next linked level. When play has
// ended (the World's quitRequested list, or "menu_cancel" here until the pause screen
// exists) and the Game's fade-out is over, it tells the World it is leaving, destroys the
// Game on the worker and asks for the menus.

#include "game/ui/LinkedLevelKey.h"
#include "game/ui/LoaderOverlay.h"

#include "Framework/core/events/EventList.h"
#include "Framework/system/surface/StateRequest.h"
#include "Framework/system/surface/StateSurface.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <memory>
#include <vector>

namespace zor {

class Game;
class SystemComponents;

class IngameHost : public StateSurface {
public:
    // The virtual button that ends play from here.
    static constexpr const char* QuitButton = "menu_cancel";

    // Main thread: posts the definitions' load (done at once when they are in) and the
    // Game's construction to the threaded work queue.
    IngameHost(StateRequestFunction request, SystemComponents& components);
    // A Game still held is destroyed on the worker once every job that may hand it back
    // has run; at shutdown, when the worker is gone, here.
    ~IngameHost() override;

    bool handleInput(InputState& input) override;
    void update(const UpdateRecord& record) override;
    void render() override;

    // The Game has been handed back and play has not ended.
    bool playing() const { return m_phase == Phase::Running; }

private:
    enum class Phase { Loading, Running, Ending };

    // Shared with the worker's jobs, which may outlive the host. The Game is written by
    // the worker before its hand-back is posted, and read by the main thread after it.
    struct GameSlot {
        std::unique_ptr<Game> game;
        // Main thread only.
        IngameHost* host = nullptr;  // null once the host is gone
        bool handedBack = false;     // recreateGraphics has run
        bool destroyed = false;      // the worker destroyed the Game at the end of play
    };

    void onGameBuilt();
    void endGame();
    bool gameReady() const;

    StateRequestFunction m_request;
    SystemComponents& m_components;
    std::shared_ptr<GameSlot> m_slot;
    std::vector<EventConnection> m_connections;
    LoaderOverlay m_loader;
    LinkedLevelKey m_levelKey;
    UpdateRecord m_renderRecord;
    Phase m_phase = Phase::Loading;
    bool m_unfocused = false;
    bool m_loaderShown = true;
};

} // namespace zor
