#pragma once
// The port of the world's renderer. A Game makes its Visualizer on the worker thread, so
// a constructor may read the World and the definitions only; GPU resources and
// process-wide lists wait for createRenderResources on the main thread.

namespace zor {

class InputState;
struct UpdateRecord;

class Visualizer {
public:
    virtual ~Visualizer() = default;

    // Main thread: after the Game is handed back, and after a demo restart.
    virtual void createRenderResources() = 0;
    // Per step; with step length 0 while the game is paused.
    virtual void update(const UpdateRecord& record) = 0;
    // Draws the level with the host's draw record.
    virtual void render(const UpdateRecord& drawRecord) = 0;
    // The debug input handler: true when it takes the event before the game sees it.
    virtual bool handleDebugInput(InputState& input) = 0;
};

} // namespace zor
