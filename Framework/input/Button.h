#pragma once
// What a key state belongs to: a physical input (a key code, no type) or a threshold
// button (code KeyCodes::None and the threshold definition as its type).

#include "Framework/input/KeyNames.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zor {

struct Button {
    // A threshold button: on while an analogue input's normalized value is beyond a threshold.
    struct VirtualButtonType {
        enum Comparison : std::int32_t { Below = 0, Above = 1 };

        std::string name;
        std::string variable;
        std::int32_t comparison = Below;
        float threshold = 0.0f;

        // Strict, as written in the expression: "<" or ">".
        bool isOn(float value) const;
    };

    KeyCode code = KeyCodes::None;
    std::shared_ptr<const VirtualButtonType> type;

    Button() = default;
    explicit Button(KeyCode keyCode) : code(keyCode) {}
    explicit Button(std::shared_ptr<const VirtualButtonType> thresholdType)
        : code(KeyCodes::None), type(std::move(thresholdType)) {}

    // Threshold buttons are equal by what they measure (comparison, threshold, variable),
    // not by their names; physical inputs by code.
    bool operator==(const Button& other) const;
    bool operator!=(const Button& other) const { return !(*this == other); }
};

struct ButtonHash {
    std::size_t operator()(const Button& button) const;
};

} // namespace zor
