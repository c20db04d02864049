#include "Framework/input/Button.h"

#include <functional>

namespace zor {

bool Button::VirtualButtonType::isOn(float value) const {
    switch (comparison) {
    case Below: return value < threshold;
    case Above: return threshold < value;
    default: return false;
    }
}

bool Button::operator==(const Button& other) const {
    if (!type || !other.type) return !type && !other.type && code == other.code;
    return type->comparison == other.type->comparison && type->threshold == other.type->threshold &&
           type->variable == other.type->variable;
}

std::size_t ButtonHash::operator()(const Button& button) const {
    std::uint32_t hash = static_cast<std::uint32_t>(button.code);
    if (button.type) {
        hash = static_cast<std::uint32_t>(std::hash<std::string>()(button.type->variable)) +
               static_cast<std::uint32_t>(std::hash<float>()(button.type->threshold)) + hash +
               static_cast<std::uint32_t>(button.type->comparison);
    }
    return hash * 397u + 17u;
}

} // namespace zor
