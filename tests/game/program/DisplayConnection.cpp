#include "tests/game/program/DisplayConnection.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

namespace zor::test {

DisplayConnection::DisplayConnection(const std::string& name) {
    for (int attempt = 0; attempt < 50 && !m_display; ++attempt) {
        m_display = XOpenDisplay(name.c_str());
        if (!m_display) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // A window may go between the listing and the questions about it.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
}

DisplayConnection::~DisplayConnection() {
    if (m_display) XCloseDisplay(m_display);
}

bool DisplayConnection::dialogShown() const {
    const Atom type = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE", False);
    const Atom dialog = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count)) return false;
    bool shown = false;
    for (unsigned i = 0; i < count && !shown; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
        Atom actualType = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(m_display, children[i], type, 0, 1, False, XA_ATOM, &actualType, &format, &items,
                               &after, &value) == Success &&
            value) {
            shown = items == 1 && *reinterpret_cast<Atom*>(value) == dialog;
            XFree(value);
        }
    }
    if (children) XFree(children);
    return shown;
}

ScreenImage DisplayConnection::screen() const {
    ScreenImage image;
    const Window root = DefaultRootWindow(m_display);
    XWindowAttributes attributes;
    XGetWindowAttributes(m_display, root, &attributes);
    if (XImage* shot = XGetImage(m_display, root, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                                 AllPlanes, ZPixmap)) {
        image.width = attributes.width;
        image.height = attributes.height;
        image.pixels.reserve(std::size_t(image.width) * std::size_t(image.height));
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.pixels.push_back(std::uint32_t(XGetPixel(shot, x, y)) & 0xFFFFFFu);
        XDestroyImage(shot);
    }
    return image;
}

} // namespace zor::test
