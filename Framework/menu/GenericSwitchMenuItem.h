#pragma once
// The root of an item tree. It builds the tree from its layout sprite (a node whose type
// word has a registered factory becomes an item, the others are skipped with their
// subtrees), finds items by name, plays named states of its node (an animation each) and
// draws the tree followed by every item's draw hooks in ascending order.
//
// Entering a state first reports the old one as ended and interrupted; a state without an
// animation is reported started and at once ended, not interrupted.

#include <string>
#include <unordered_map>
#include <vector>

#include "Framework/core/events/EventList.h"
#include "Framework/menu/AbstractMenuItem.h"

namespace zor {

class GenericSwitchMenuItem : public AbstractMenuItem {
public:
    GenericSwitchMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters);

    void update(const UpdateRecord& record) override;
    void draw() override;

    // The first item built under the name, or null. An item is found by its whole node name
    // and by the name without its parameters ("label_question" for
    // "label_question__medium__n").
    AbstractMenuItem* findItem(const std::string& name) const;
    template <class Item>
    Item* findItemOf(const std::string& name) const {
        return dynamic_cast<Item*>(findItem(name));
    }
    void setState(const std::string& name);
    // Labels and other texts read their localised lines again.
    void refreshTexts();
    const std::string& stateName() const { return m_stateName; }

    EventList<std::string> stateStarted;
    // The state name, and whether it was left by entering another state.
    EventList<std::string, bool> stateEnded;

private:
    void buildChildren(AbstractMenuItem& item);

    // Every item of the tree in build order, and the first of each name.
    std::vector<AbstractMenuItem*> m_items;
    std::unordered_map<std::string, AbstractMenuItem*> m_firstByName;
    std::string m_stateName;
    int m_lastFrame = -1;
};

} // namespace zor
