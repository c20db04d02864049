#pragma once
// Game state 5, where an error logged on the main thread leaves the game. It shows the
// line that sent the game here (debug font, wrapped) with its two ways out: "menu_accept"
// back to the main menu (state 1), "menu_cancel" ends the program.

#include "Framework/graphics/text/TextMesh.h"
#include "Framework/system/surface/StateRequest.h"
#include "Framework/system/surface/StateSurface.h"

namespace zor {

class SystemComponents;

class ErrorMenu : public StateSurface {
public:
    // Without a debug font (drawing tests) it shows nothing but still takes its keys.
    ErrorMenu(StateRequestFunction request, SystemComponents& components);
    ~ErrorMenu() override;

    bool handleInput(InputState& input) override;
    void render() override;

    const TextMeshPtr& errorText() const { return m_errorText; }

private:
    StateRequestFunction m_request;
    SystemComponents& m_components;
    TextMeshPtr m_errorText;
    TextMeshPtr m_prompts;
};

} // namespace zor
