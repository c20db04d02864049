#include "Framework/core/debug/DebugFlags.h"

#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace zor {

namespace {

struct Declaration {
    explicit Declaration(const DebugToggle& t) : toggle(t) {}

    DebugToggle toggle;
    DebugFlag flag{false};
};

struct Registry {
    std::mutex mutex;
    std::deque<Declaration> declarations; // stable addresses, declaration order
    std::map<std::pair<std::string, std::string>, Declaration*> byKey;
};

// Never destroyed: objects destroyed at exit may still read their flags.
Registry& registry() {
    static Registry* const instance = new Registry;
    return *instance;
}

} // namespace

DebugToggle::DebugToggle(std::string n, Kind k, std::string c)
    : kind(k), name(std::move(n)), category(std::move(c)) {}

DebugFlag& declareDebugToggle(const DebugToggle& toggle) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    Declaration*& slot = r.byKey[{toggle.category, toggle.name}];
    if (slot == nullptr)
        slot = &r.declarations.emplace_back(toggle);
    return slot->flag;
}

DebugFlag* findDebugFlag(const std::string& category, const std::string& name) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto found = r.byKey.find({category, name});
    return found == r.byKey.end() ? nullptr : &found->second->flag;
}

std::vector<DebugToggle> declaredDebugToggles() {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    std::vector<DebugToggle> toggles;
    toggles.reserve(r.declarations.size());
    for (const Declaration& d : r.declarations)
        toggles.push_back(d.toggle);
    return toggles;
}

const CoreDebugFlags& coreDebugFlags() {
    using T = DebugToggle;
    static const CoreDebugFlags flags{
        declareDebugToggle(T("capture", T::Toggle, "system")),
        declareDebugToggle(T("disableVSync", T::Toggle, "perf")),
        declareDebugToggle(T("disableSleep", T::Toggle, "perf")),
        declareDebugToggle(T("settings", T::OneShot, "system")),
        declareDebugToggle(T("slowMo", T::Toggle, "system")),
        declareDebugToggle(T("speedUp", T::Toggle, "system")),
        declareDebugToggle(T("still", T::Toggle, "system")),
        declareDebugToggle(T("step", T::OneShot, "system")),
        declareDebugToggle(T("crash", T::OneShot, "system")),
        declareDebugToggle(T("clearDebugDraw", T::OneShot, "system")),
        declareDebugToggle(T("showLog", T::Toggle, "system")),
        declareDebugToggle(T("showFps", T::Toggle, "perf")),
        declareDebugToggle(T("resetProgress", T::OneShot, "system")),
        declareDebugToggle(T("resetAchievements", T::OneShot, "system")),
    };
    return flags;
}

} // namespace zor
