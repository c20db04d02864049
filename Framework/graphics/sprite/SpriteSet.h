#pragma once
// A sprite set: every sprite definition of one game data folder ("spriteset.dat") and the
// texture set its definitions draw from ("atlas.lst"). Loaded once by its SpriteManager,
// never changed afterwards; definitions and textures live as long as the set.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Framework/core/io/ByteArray.h"
#include "Framework/graphics/sprite/SpriteDefinition.h"
#include "Framework/graphics/textureset/TextureSet.h"

namespace zor {

// Limits on the tree a definition makes, so damaged data cannot ask for a tree that
// exhausts memory or the stack.
constexpr int kMaxSpriteTreeNodes = 65536;
constexpr int kMaxSpriteTreeDepth = 64;

class SpriteSet {
public:
    // `folder` names the set in error texts.
    explicit SpriteSet(std::string folder);
    SpriteSet(const SpriteSet&) = delete;
    SpriteSet& operator=(const SpriteSet&) = delete;

    const std::string& folder() const { return m_folder; }

    // The first definition of that name in file order, or null. Valid once linked.
    const SpriteDefinition* findDefinition(const std::string& name) const;

    // After reading: resolves the root node, sorts every definition's children by ascending depth (equal depths
    // keep file order), resolves each child's definition by name and computes the
    // descendant counts. Throws CheckReleaseError naming the set and the definition when a
    // child names a missing definition, when definitions contain each other, or when a
    // tree would pass the limits above.
    void link();

    // File order.
    std::vector<std::unique_ptr<SpriteDefinition>> definitions;
    // Named "_root", showing the definition named "_root" (null when the set has none).
    SpriteNodeDefinition root;
    // Null for sets read without their textures.
    std::unique_ptr<TextureSet> textureSet;
    std::uint32_t reservedHeader[2] = {0, 0};
    std::uint32_t framesPerSecond = 0;

private:
    // Bookkeeping of the descendant count walk.
    struct Walk {
        std::unordered_map<const SpriteDefinition*, std::size_t> indexOf;
        std::vector<int> depths;  // levels below each definition's root
    };
    void countDescendants(std::size_t rootIndex, Walk& walk);

    std::string m_folder;
    std::unordered_map<std::string, const SpriteDefinition*> m_byName;
};

// Reads "spriteset.dat" of the game data folder, links it and loads its "atlas.lst". A
// file that is missing or shorter than 4 bytes throws CheckReleaseError "File not found: "
// + folder; a file that ends early throws naming the set and where it ends.
std::shared_ptr<SpriteSet> loadSpriteSet(const std::string& folder);

// The definitions of a sprite set file held in memory, linked, without textures.
// Throws as loadSpriteSet does.
std::shared_ptr<SpriteSet> readSpriteSet(const ByteArray& data, std::size_t size, const std::string& folder);

} // namespace zor
