#include "game/simulation/StaticTextColor.h"

namespace zor {

const PackedColor& staticTextColor() {
    static const PackedColor color = PackedColor::fromChannels(255, 255, 0, 255);
    return color;
}

} // namespace zor
