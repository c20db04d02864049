#include "Framework/system/ApplicationState.h"

namespace zor {

ApplicationState& appState() {
    static ApplicationState state;
    return state;
}

} // namespace zor
