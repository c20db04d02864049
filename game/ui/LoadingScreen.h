#pragma once
// Game state 0 until the front end exists: it starts the background loading of the game
// data, as the first state must, and says so on screen: "loading" with a spinner while
// the worker runs, then "loaded" with the time it took and a prompt to go on to the
// next state.

#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/graphics/text/TextMesh.h"
#include "Framework/system/surface/StateRequest.h"
#include "Framework/system/surface/StateSurface.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class Font;
class SystemComponents;

class LoadingScreen : public StateSurface {
public:
    // The sprite sets loaded on the worker before the game data. The menus' own sets join
    // this list with the front end.
    static const std::vector<std::string>& preloadedSpriteSets();

    // Posts the preloads, then the load-all job, to the threaded work queue. The game
    // counts as loading in the background until the last job ends.
    LoadingScreen(StateRequestFunction request, SystemComponents& components);
    ~LoadingScreen() override;

    // After loading, "menu_accept" goes on to the menus.
    bool handleInput(InputState& input) override;
    void update(const UpdateRecord& record) override;
    void render() override;

    bool loaded() const { return m_progress->done.load(std::memory_order_acquire); }

private:
    // Written by the worker's jobs, which may outlive the screen.
    struct Progress {
        std::atomic<bool> done{false};
        double seconds = 0.0;  // the load-all job's time, set before done
    };

    void buildTexts();

    StateRequestFunction m_request;
    SystemComponents& m_components;
    const Font& m_font;
    std::shared_ptr<Progress> m_progress = std::make_shared<Progress>();
    bool m_showsLoaded = false;
    TextMeshPtr m_title;
    TextMeshPtr m_status;
    TextMeshPtr m_detail;
    TextMeshPtr m_prompt;
    SpritePtr m_spinner;
    SpritePtr m_button;
};

} // namespace zor
