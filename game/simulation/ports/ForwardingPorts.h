#pragma once
// Ports that make every port through another factory: a base for factories that bring a
// few real ports and leave the rest to the one they wrap (the program's over the defaults,
// a test's real port over the harness's recorders).

#include "game/simulation/ports/GamePorts.h"
#include "game/simulation/ports/ScriptSimulator.h"

#include <memory>
#include <utility>

namespace zor {

class ForwardingPorts : public GamePorts {
public:
    explicit ForwardingPorts(std::shared_ptr<const GamePorts> inner) : m_inner(std::move(inner)) {}

    std::shared_ptr<GameAudio> makeGameAudio(World& world) const override { return m_inner->makeGameAudio(world); }
    std::shared_ptr<UserInterface> makeUserInterface(IngameGraphics* graphics, SystemComponents* components,
                                                     World& world) const override {
        return m_inner->makeUserInterface(graphics, components, world);
    }
    std::shared_ptr<Visualizer> makeVisualizer(SystemComponents* components, IngameGraphics* graphics,
                                               World& world) const override {
        return m_inner->makeVisualizer(components, graphics, world);
    }
    std::shared_ptr<Audiolizer> makeAudiolizer(World& world, GameAudio& audio) const override {
        return m_inner->makeAudiolizer(world, audio);
    }
    std::unique_ptr<ScriptSimulator> makeScriptSimulator(SystemComponents* components, Simulator& simulator,
                                                         World& world) const override {
        return m_inner->makeScriptSimulator(components, simulator, world);
    }
    void registerLogicNodeTypes() const override { m_inner->registerLogicNodeTypes(); }
    void registerActionNodeTypes() const override { m_inner->registerActionNodeTypes(); }

protected:
    const GamePorts& inner() const { return *m_inner; }

private:
    std::shared_ptr<const GamePorts> m_inner;
};

} // namespace zor
