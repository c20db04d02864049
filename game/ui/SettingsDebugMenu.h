#pragma once
// The developers' view of every setting, opened with the debug flag "system"/"settings":
// one setting a page, sorted by key, with its value, whether it is public and its
// description, shown at the top of the screen over the game. "menu_up" and "menu_down"
// turn the pages, "menu_left" and "menu_right" step a number setting (integers by 1,
// floats by a tenth), "menu_accept" saves "settings.xml", "menu_cancel" closes the menu.

#include "Framework/system/ISettingsDebugMenu.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

class Font;
class SystemComponents;

class SettingsDebugMenu : public ISettingsDebugMenu {
public:
    // Starts at `page`, kept within the settings.
    SettingsDebugMenu(SystemComponents& components, std::int32_t page);
    // Takes its lines off the screen.
    ~SettingsDebugMenu() override;

    std::int32_t pagePosition() const override { return m_page; }

    // Takes the menu buttons it acts on; other input reaches the game.
    bool handleInput(InputState& input) override;
    void update(const UpdateRecord& record) override;

    // The lines shown for the current page.
    std::vector<std::string> pageLines() const;

private:
    void turnPage(std::int32_t by);
    void stepValue(std::int32_t direction);

    const Font* m_font;
    std::vector<std::string> m_keys;
    std::int32_t m_page = 0;
    bool m_dirty = true;
};

} // namespace zor
