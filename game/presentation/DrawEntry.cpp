#include "game/presentation/DrawEntry.h"

#include "Framework/graphics/sprite/Sprite.h"

#include <functional>

namespace zor::presentation {

bool drawOrderLess(const DrawEntry& a, const DrawEntry& b) {
    if (a.depth != b.depth) return a.depth > b.depth;
    if (a.priority != b.priority) return a.priority < b.priority;
    if (a.kind != b.kind) return a.kind < b.kind;
    if (a.kind == DrawEntry::SpriteKind) {
        // Any fixed order of the sets serves: the addresses, for the length of the run.
        const ISpriteManager* setA = a.asSprite().manager();
        const ISpriteManager* setB = b.asSprite().manager();
        if (setA != setB) return std::less<const ISpriteManager*>()(setA, setB);
    }
    return a.order < b.order;
}

} // namespace zor::presentation
