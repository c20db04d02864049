#include "game/simulation/ports/GamePorts.h"

#include "game/simulation/audio/AudioHandlerGameAudio.h"
#include "game/simulation/ports/NullPorts.h"

namespace zor {

std::shared_ptr<GameAudio> GamePorts::makeGameAudio(World& world) const {
    return std::make_shared<AudioHandlerGameAudio>(world);
}

std::shared_ptr<UserInterface> GamePorts::makeUserInterface(IngameGraphics*, SystemComponents*, World&) const {
    return std::make_shared<NullUserInterface>();
}

std::shared_ptr<Visualizer> GamePorts::makeVisualizer(SystemComponents*, IngameGraphics*, World&) const {
    return std::make_shared<NullVisualizer>();
}

std::shared_ptr<Audiolizer> GamePorts::makeAudiolizer(World& world, GameAudio&) const {
    return std::make_shared<NullAudiolizer>(world);
}

std::unique_ptr<ScriptSimulator> GamePorts::makeScriptSimulator(SystemComponents*, Simulator&, World&) const {
    return std::make_unique<NullScriptSimulator>();
}

std::shared_ptr<const GamePorts>& programGamePorts() {
    static std::shared_ptr<const GamePorts> ports = std::make_shared<GamePorts>();
    return ports;
}

} // namespace zor
