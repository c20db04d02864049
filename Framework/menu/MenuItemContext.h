#pragma once
// What every item of one menu's tree shares: the game context it draws with, the sprite
// manager its layout sprite came from and that sprite, the root of the node tree.

#include "Framework/graphics/sprite/Sprite.h"

namespace zor {

class ISpriteManager;
class SystemComponents;

struct MenuItemContext {
    SystemComponents* gameContext = nullptr;
    ISpriteManager* spriteManager = nullptr;
    SpritePtr layoutSprite;
};

} // namespace zor
