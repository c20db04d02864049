#include "Framework/graphics/sprite/SpriteManager.h"

#include "Framework/graphics/sprite/SpriteSet.h"

namespace zor {

SpriteManager::SpriteManager(const std::string& folder) : m_set(loadSpriteSet(folder)) {}

SpriteManager::SpriteManager(std::shared_ptr<SpriteSet> set) : m_set(std::move(set)) {}

SpritePtr SpriteManager::createSprite(const std::string& name) {
    const SpriteDefinition* definition = m_set->findDefinition(name);
    if (!definition) return nullptr;
    SpritePtr sprite(new Sprite);
    sprite->initFromDefinition(*definition, *this);
    return sprite;
}

float SpriteManager::framesPerSecond() const {
    return static_cast<float>(m_set->framesPerSecond);
}

bool SpriteManager::findTexture(const std::string& name, TextureSetReference& out) const {
    return m_set->textureSet && m_set->textureSet->findTexture(name, out);
}

} // namespace zor
