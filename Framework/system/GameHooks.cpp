#include "Framework/system/GameHooks.h"

namespace zor {

GameHooks& gameHooks() {
    static GameHooks hooks;
    return hooks;
}

} // namespace zor
