#pragma once
// The images of the key prompts, "Textures/key_1.png" to "Textures/key_9.png": loaded
// at system initialisation and let go when the shutdown list fires, while the OpenGL
// context still exists.

#include <memory>

namespace zor {

class Texture;

inline constexpr int KeyTextureCount = 9;

void loadKeyTextures();

// The image of key `number` (1 to 9); null outside that range or while not loaded.
std::shared_ptr<Texture> keyTexture(int number);

} // namespace zor
