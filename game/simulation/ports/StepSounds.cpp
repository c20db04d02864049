#include "game/simulation/ports/StepSounds.h"

#include <utility>

namespace zor {

StepSounds takeStepSounds(World& world) {
    StepSounds sounds;
    sounds.requests.swap(world.soundRequests);
    for (const auto& [id, object] : world.gameObjects()) {
        std::vector<std::string>& pending = object->pendingSounds;
        sounds.objectSounds.insert(sounds.objectSounds.end(), std::make_move_iterator(pending.begin()),
                                   std::make_move_iterator(pending.end()));
        pending.clear();
    }
    return sounds;
}

} // namespace zor
