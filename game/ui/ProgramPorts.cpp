#include "game/ui/ProgramPorts.h"

#include "game/ui/PlainView.h"

namespace zor {

ProgramPorts::ProgramPorts() : ForwardingPorts(std::make_shared<GamePorts>()) {}

std::shared_ptr<Visualizer> ProgramPorts::makeVisualizer(SystemComponents* components, IngameGraphics*,
                                                         World& world) const {
    return std::make_shared<PlainView>(components, world);
}

} // namespace zor
