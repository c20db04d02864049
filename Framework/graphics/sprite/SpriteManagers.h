#pragma once
// The registry of sprite managers: one per sprite-set folder for the whole program, owned
// by the engine's SystemComponents. Sets load on first use, outside the registry's lock,
// so the worker thread may ask for them while a level loads. Destroying the registry drops
// its share of every manager; sprite trees of a set must be gone before its manager is.

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>

#include "Framework/core/threads/Mutex.h"
#include "Framework/graphics/sprite/Sprite.h"

namespace zor {

class ISpriteManager;
class SpriteManager;

class SpriteManagers {
public:
    SpriteManagers();
    ~SpriteManagers();
    SpriteManagers(const SpriteManagers&) = delete;
    SpriteManagers& operator=(const SpriteManagers&) = delete;

    // The folder's manager, loading the set when it is not registered yet. Two threads
    // asking for the same new folder both load it and get the manager stored first. A set
    // that fails to load throws its CheckReleaseError and registers nothing. Any thread.
    ISpriteManager* get(const std::string& folder);
    // The folder's manager when registered, else null; never loads. Any thread.
    ISpriteManager* find(const std::string& folder);
    // Drops the registry's share of the folder's manager; nothing when not registered.
    void release(const std::string& folder);

    // Raised while a level is built in the background, so that sprite references may
    // load the sets they name.
    void setLoadOnDemand(bool enabled) { m_loadOnDemand = enabled; }
    bool loadOnDemand() const { return m_loadOnDemand; }

private:
    std::unordered_map<std::string, std::shared_ptr<SpriteManager>> m_managers;
    std::atomic<bool> m_loadOnDemand{false};
    Mutex m_mutex;  // guards m_managers
};

// A new tree from a reference "set folder;sprite name" (a reference without ";" is both).
// The set is loaded when the registry's load-on-demand flag is raised, else it must be
// registered already. Null when the set is not registered or has no such sprite. Safe
// on any thread the sprite pools allow.
SpritePtr createSpriteByReference(const std::string& reference, SpriteManagers& registry);

} // namespace zor
