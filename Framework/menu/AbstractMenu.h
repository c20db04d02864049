#pragma once
// The base of every menu screen: one layout sprite of a sprite manager shown in one
// viewport, its item tree, the states "intro", "idle" and "outro", pointer input routed to
// the items, and six lists announcing the state changes. Screens connect to their items
// and to these lists; keyboard and gamepad focus is each screen's own.
//
// No state is entered at construction: the owner calls setState (normally Intro). A menu
// never deletes itself: its owner does, once it reports finished.

#include <memory>
#include <string>
#include <vector>

#include "Framework/core/events/EventList.h"
#include "Framework/menu/MenuItemContext.h"
#include "Framework/menu/SwitchMenuItem.h"
#include "Framework/system/surface/StateSurface.h"

namespace zor {

class ISpriteManager;
class QuadBatch;
class SystemComponents;

class AbstractMenu : public StateSurface {
public:
    // The layout sprite `layoutName` of the manager (which must have it), centred in the
    // viewport's virtual area.
    AbstractMenu(ISpriteManager& spriteManager, SystemComponents& gameContext, const std::string& layoutName,
                 int viewport);
    ~AbstractMenu() override = 0;

    bool handleInput(InputState& input) override;
    void update(const UpdateRecord& record) override;
    // Draws only while the current viewport is the menu's.
    void render() override;

    // Enters the state of the index (SwitchMenuItem::State) and applies its first frame at once.
    void setState(int index);
    // Plays the outro unless it already plays.
    virtual void close();
    bool isFinished() const { return m_finished; }

    SwitchMenuItem& root() const { return *m_root; }
    Sprite& layoutSprite() const { return *m_itemContext.layoutSprite; }
    int viewport() const { return m_viewport; }

    EventList<> introStarted;
    EventList<> introFinished;
    EventList<> idleStarted;
    EventList<> idleFinished;
    EventList<> outroStarted;
    EventList<> outroFinished;

protected:
    virtual void drawBackground(QuadBatch&) {}
    virtual void drawForeground(QuadBatch&) {}
    // Screens override these to react to their states; the base fires the matching list
    // (and onOutroFinished marks the menu finished).
    virtual void onIntroStarted() { introStarted.fire(); }
    virtual void onIntroFinished() { introFinished.fire(); }
    virtual void onIdleStarted() { idleStarted.fire(); }
    virtual void onIdleFinished() { idleFinished.fire(); }
    virtual void onOutroStarted() { outroStarted.fire(); }
    virtual void onOutroFinished();

    SystemComponents& gameContext() const { return *m_gameContext; }

private:
    void onStateStarted(int index);
    void onStateFinished(int index);

    SystemComponents* m_gameContext;
    ISpriteManager* m_spriteManager;
    int m_viewport;
    MenuItemContext m_itemContext;
    NameParameters m_rootNameParameters;
    std::shared_ptr<SwitchMenuItem> m_root;
    std::vector<EventConnection> m_connections;
    bool m_finished = false;
};

} // namespace zor
