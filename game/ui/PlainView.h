#pragma once
// The view of the level until the world renderer arrives: the solid cells of the byte grid
// and the outlines of every physical body in sight, through the World's camera, drawn with
// the engine's primitive batch over a dark ground. Made by the program's ports.

#include "game/simulation/ports/Visualizer.h"

#include <memory>

namespace zor {

class PrimitiveBatch;
class SystemComponents;
class World;

class PlainView final : public Visualizer {
public:
    // Without a primitive batch (no components) nothing is drawn.
    PlainView(SystemComponents* components, World& world);

    void createRenderResources() override {}
    void update(const UpdateRecord&) override {}
    void render(const UpdateRecord& drawRecord) override;
    bool handleDebugInput(InputState&) override { return false; }

private:
    void drawCells(PrimitiveBatch& batch);
    void drawBodies(PrimitiveBatch& batch);

    SystemComponents* m_components;
    World& m_world;
};

} // namespace zor
