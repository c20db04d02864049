#include "Framework/graphics/sprite/SpriteManagers.h"

#include "Framework/graphics/sprite/NamedShared.h"
#include "Framework/graphics/sprite/SpriteManager.h"

namespace zor {

SpriteManagers::SpriteManagers() : m_managers(11) {
    m_managers.max_load_factor(1.0f);
}

SpriteManagers::~SpriteManagers() = default;

ISpriteManager* SpriteManagers::get(const std::string& folder) {
    if (ISpriteManager* registered = find(folder)) return registered;

    auto loaded = std::make_shared<SpriteManager>(folder);
    Mutex::ScopedLock lock(m_mutex);
    std::shared_ptr<SpriteManager>& entry = m_managers[folder];
    if (!entry) entry = std::move(loaded);
    return entry.get();
}

ISpriteManager* SpriteManagers::find(const std::string& folder) {
    Mutex::ScopedLock lock(m_mutex);
    return getNamedShared(folder, m_managers);
}

void SpriteManagers::release(const std::string& folder) {
    Mutex::ScopedLock lock(m_mutex);
    m_managers.erase(folder);
}

SpritePtr createSpriteByReference(const std::string& reference, SpriteManagers& registry) {
    const std::size_t semicolon = reference.find(';');
    const std::string folder = semicolon == std::string::npos ? reference : reference.substr(0, semicolon);
    const std::string name = semicolon == std::string::npos ? reference : reference.substr(semicolon + 1);
    ISpriteManager* manager = registry.loadOnDemand() ? registry.get(folder) : registry.find(folder);
    return manager ? manager->createSprite(name) : nullptr;
}

} // namespace zor
