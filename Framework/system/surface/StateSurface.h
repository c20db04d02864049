#pragma once
// The base of the game states and the full-screen menus.

#include "Framework/system/surface/AbstractSurface.h"

namespace zor {

class StateSurface : public AbstractSurface {
public:
    using AbstractSurface::AbstractSurface;
    ~StateSurface() override = 0;
};

inline StateSurface::~StateSurface() = default;

} // namespace zor
