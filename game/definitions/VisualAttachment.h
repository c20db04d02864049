#pragma once
// A sprite or light hung on an object ("Light" of effects and game objects, "ChargeLight"
// of weapons).

#include <string>

#include <pugixml.hpp>

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Vector.h"

namespace zor {

struct VisualAttachment {
    std::string sprite;
    float scale = 1.0f;
    fpVector2 offset;
    bool loop = true;
    Color3 color{1.0f, 1.0f, 1.0f};
    float strength = 1.0f;
};

// Reads the attributes of `element` over `attachment`; absent attributes keep their values.
void readVisualAttachment(const pugi::xml_node& element, VisualAttachment& attachment);

} // namespace zor
