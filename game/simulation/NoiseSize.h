#pragma once

#include <cstdint>

namespace zor {

// The five noise levels of the settings "Game.Noise<Size>Radius" and "...Amount".
enum class NoiseSize : std::int32_t { Tiny = 0, Small = 1, Medium = 2, Large = 3, Huge = 4 };

} // namespace zor
