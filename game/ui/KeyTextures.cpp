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
    for (int i = 0; i < KeyTextureCount; ++i) {
        // The pieces of a stretchable frame: the edges repeat along their side, the centre
        // both ways, the corners not at all.
        const int column = i % 3;
        const int row = i / 3;
        TextureSampling smooth;
        smooth.minFilter = 1;
        smooth.magFilter = 1;
        smooth.wrapS = column == 1 ? 1 : 0;
        smooth.wrapT = row == 1 ? 1 : 0;
        set.textures[std::size_t(i)] =
            std::make_shared<Texture>("Textures/key_" + std::to_string(i + 1) + ".png", false, smooth);
    }
    set.shutdownConnection = SystemEvents::instance().shutdown.connect(&set, [](KeyTextureSet* released) {
        for (std::shared_ptr<Texture>& texture : released->textures) texture.reset();
    });
}

std::shared_ptr<Texture> keyTexture(int number) {
    if (number < 1 || number > KeyTextureCount) return nullptr;
    return keyTextures().textures[std::size_t(number - 1)];
}

} // namespace zor
