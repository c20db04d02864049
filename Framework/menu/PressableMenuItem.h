#pragma once
// What buttons and checkboxes share: the pointer rule that turns a press begun on the item
// and a release inside its hit area into a click, the flags screens set, and the click cue.
//
// A press must begin on the item (or find it held); dragging off keeps it held and keeps
// the input; only a release inside clicks. A tap recognised in the step of a release
// counts even when the item never saw the press.

#include <string>

#include "Framework/menu/AbstractMenuItem.h"

namespace zor {

class PressableMenuItem : public AbstractMenuItem {
public:
    PressableMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters,
                      AbstractMenuItem* parent);

    bool handleInput(InputState& input) override;
    // Jumps the node to the frame of the item's state.
    virtual void updateFrame() = 0;

    // The cue a click plays; empty clicks silently.
    std::string sound;
    bool disabled = false;
    bool active = false;  // held by the pointer
    bool highlighted = false;

protected:
    virtual void click(const fpVector2& point) = 0;
    void playSound() const;
    void showFrame(const char* frame);
};

} // namespace zor
