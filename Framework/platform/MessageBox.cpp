#include "Framework/platform/MessageBox.h"

#include "Framework/platform/Display.h"
#include "Framework/platform/QuitSignals.h"

#include <SDL.h>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace zor {

namespace {

// Characters a line of the box holds: the box does not wrap by itself, and a longer line
// can be wider than the screen.
constexpr std::size_t BoxLineWidth = 90;

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Appends one line of the text, broken into pieces of at most `width` bytes.
void wrapLine(const std::string& line, std::size_t width, std::string& out) {
    std::size_t start = 0;
    while (line.size() - start > width) {
        std::size_t cut = line.rfind(' ', start + width);
        if (cut == std::string::npos || cut <= start) {
            cut = start + width;
            while (cut > start + 1 && continuationByte(line[cut])) --cut;
            out.append(line, start, cut - start);
            start = cut;
        } else {
            out.append(line, start, cut - start);
            start = cut + 1;
        }
        out += '\n';
    }
    out.append(line, start, std::string::npos);
}

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// SDL shows the box from a child process of its own, which would outlive a program ended
// by a signal and stay on the screen. So the box runs in a process group of ours, which a
// quit signal ends, and which ends itself when the program dies without a word.
void showBoxInOwnProcessGroup(const std::string& caption, const std::string& text) {
    const pid_t parent = ::getpid();
    std::fflush(stdout);
    const pid_t box = ::fork();
    if (box < 0) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
        return;
    }
    if (box == 0) {
        ::setpgid(0, 0);
        exitOnQuitSignal(0);
        endProcessGroupOnQuitSignal(::getpid());
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) _exit(0);
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
        _exit(0);
    }
    // Set on both sides, so the group exists before either goes on.
    ::setpgid(box, box);
    endProcessGroupOnQuitSignal(box);
    while (::waitpid(box, nullptr, 0) < 0 && errno == EINTR) {
    }
    endProcessGroupOnQuitSignal(0);
}

} // namespace

bool messageBoxWanted() {
    if (environmentSet("ZOR_NO_MESSAGEBOX")) return false;
    return !displayName().empty();
}

void showErrorMessageBox(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    // Someone asked the program to end: nobody waits for a box.
    if (!messageBoxWanted() || quitSignalPending()) return;
    // SDL needs no initialised video here; the box makes its own connection to the display.
    showBoxInOwnProcessGroup(caption, wrapLines(text, BoxLineWidth));
}

std::string wrapLines(const std::string& text, std::size_t width) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        wrapLine(text.substr(start, end == std::string::npos ? std::string::npos : end - start), width, out);
        if (end == std::string::npos) return out;
        out += '\n';
        start = end + 1;
    }
}

} // namespace zor
