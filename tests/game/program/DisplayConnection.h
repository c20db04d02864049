#pragma once
// Looking at a test's X display the way the player would: its windows and its pixels.

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

namespace zor::test {

// The pixels of a screen.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB, rows top to bottom
};

// A connection to a test's X display, kept open while the test looks at the screen:
// connections opened and closed in quick succession make the server refuse others for a
// moment, the game's among them.
class DisplayConnection {
public:
    // Tries for a few seconds.
    explicit DisplayConnection(const std::string& name);
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    bool open() const { return m_display != nullptr; }

    // Whether a dialog window (the error box) is shown.
    bool dialogShown() const;

    // The pixels of the whole screen, as the player sees it.
    ScreenImage screen() const;

private:
    _XDisplay* m_display = nullptr;
};

} // namespace zor::test
