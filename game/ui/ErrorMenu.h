#pragma once
// Game state 5, where an error logged on the main thread leaves the game: it takes no
// input and draws nothing, so the log stays readable over a black screen.

#include "Framework/system/surface/StateSurface.h"

namespace zor {

class ErrorMenu : public StateSurface {
public:
    ErrorMenu();
    ~ErrorMenu() override;

    bool handleInput(InputState& input) override;
};

} // namespace zor
