#pragma once

namespace zor {

// An item whose localised text follows the interface language (GenericSwitchMenuItem::
// refreshTexts).
class RefreshableText {
public:
    virtual ~RefreshableText() = default;
    virtual void refreshText() = 0;
};

} // namespace zor
