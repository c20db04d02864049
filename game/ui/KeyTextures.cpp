#include "game/ui/KeyTextures.h"

#include "Framework/core/events/EventList.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/graphics/texture/Texture.h"

#include <array>
#include <string>

namespace zor {

namespace {

struct KeyTextureSet {
    std::array<std::shared_ptr<Texture>, KeyTextureCount> textures;
    EventConnection shutdownConnection;
};

KeyTextureSet& keyTextures() {
    static KeyTextureSet set;
    return set;
}

} // namespace

void loadKeyTextures() {
    KeyTextureSet& set = keyTextures();
    TextureSampling smooth;
    smooth.minFilter = 1;
    smooth.magFilter = 1;
    // Key frames repeat their edge and centre images along the sides they stretch over.
    smooth.wrapS = 1;
    smooth.wrapT = 1;
    for (int i = 0; i < KeyTextureCount; ++i)
        set.textures[std::size_t(i)] =
            std::make_shared<Texture>("Textures/key_" + std::to_string(i + 1) + ".png", false, smooth);
    set.shutdownConnection = SystemEvents::instance().shutdown.connect(&set, [](KeyTextureSet* released) {
        for (std::shared_ptr<Texture>& texture : released->textures) texture.reset();
    });
}

std::shared_ptr<Texture> keyTexture(int number) {
    if (number < 1 || number > KeyTextureCount) return nullptr;
    return keyTextures().textures[std::size_t(number - 1)];
}

} // namespace zor
