#pragma once
// Game state 3, the host of a running Game. It saves the session, then loads on the worker,
// in order: the definitions, the game-wide graphics, the sprite sets of the game not yet
// registered, and the Game itself, showing the loader meanwhile; once the Game is handed
// back it gives it every step, input and frame, except while the Game builds a level. Its
// own key requests the next linked level. When play has ended (the World's quitRequested
// list, or "menu_cancel" here until the pause screen exists) and the Game's fade-out is
// over, it tells the World it is leaving, destroys the Game and then the graphics on the
// worker and asks for the menus.

#include "game/ui/LinkedLevelKey.h"
#include "game/ui/LoaderOverlay.h"

#include "Framework/core/events/EventList.h"
#include "Framework/system/surface/StateRequest.h"
#include "Framework/system/surface/StateSurface.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <memory>
#include <string>
#include <vector>

namespace zor {

class Game;
class IngameGraphics;
class SystemComponents;

class Ingame : public StateSurface {
public:
    // The virtual button that ends play from here.
    static constexpr const char* QuitButton = "menu_cancel";

    // The sprite sets loaded before the Game is built, in posting order.
    static const std::vector<std::string>& preloadSpriteSets();

    // Main thread: saves the session (a failure is a warning) and posts the loads and the
    // Game's construction to the threaded work queue.
    Ingame(StateRequestFunction request, SystemComponents& components);
    // A Game still held is destroyed on the worker once every job that may hand it back
    // has run; at shutdown, when the worker is gone, here.
    ~Ingame() override;

    bool handleInput(InputState& input) override;
    void update(const UpdateRecord& record) override;
    void render() override;

    // The Game has been handed back and play has not ended.
    bool playing() const { return m_phase == Phase::Running; }
    const LoaderOverlay& loader() const { return m_loader; }

private:
    enum class Phase { Loading, Running, Ending };

    // Shared with the worker's jobs, which may outlive the state. The Game and the graphics
    // are written by the worker before its hand-back is posted, and read by the main
    // thread after it.
    struct GameSlot {
        std::unique_ptr<IngameGraphics> graphics;
        std::unique_ptr<Game> game;
        // Main thread only.
        Ingame* host = nullptr;   // null once the state is gone
        bool handedBack = false;  // recreateGraphics has run
        bool destroyed = false;   // the worker destroyed the Game at the end of play

        // Worker: the Game first, then the graphics it borrowed.
        void release();
    };

    void postLoads();
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
