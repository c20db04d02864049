#pragma once
// Named images of a group: sub-rectangles of atlas pages described by texture map files,
// or whole single textures. Each sprite-set folder has one ("atlas.lst"); the world
// presentation loads more. A set is built once and then only read, from any thread,
// without a lock.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Framework/core/math/Rect.h"

namespace zor {

class Texture;

// Layout units per atlas map pixel: 1 until start-up sets it together with textureScale
// (to 1/3), so map rectangles come out in the same units as texture sizes.
extern float textureMapScale;

// Where a named image lies: its texture (not owned; the set keeps it alive) and the source
// rectangle in the texture's layout units.
struct TextureSetReference {
    const Texture* texture = nullptr;
    fpRect rect;
};

// An atlas page image and the texture map file that names its rectangles.
struct AtlasEntry {
    std::string image;
    std::string map;
};

class TextureSet {
public:
    TextureSet();
    TextureSet(const TextureSet&) = delete;
    TextureSet& operator=(const TextureSet&) = delete;

    // Adds each atlas page and its map's rectangles (scaled by textureMapScale); a later
    // name replaces an earlier one. A map file that is missing, empty or has a malformed
    // line throws CheckReleaseError.
    void loadAtlases(const std::vector<AtlasEntry>& atlases);
    // Adds each image whole, named by its file name without extension.
    void loadTextures(const std::vector<std::string>& paths);

    // Adds one named rectangle of a texture the caller made (a later name replaces an
    // earlier one); the set keeps the texture alive.
    void add(const std::string& name, std::shared_ptr<Texture> texture, const fpRect& rect);
    // Exact, case-sensitive lookup; `out` is left alone when the name is absent.
    bool findTexture(const std::string& name, TextureSetReference& out) const;

    // The page or image textures in load order.
    const std::vector<std::shared_ptr<Texture>>& textures() const { return m_textures; }
    std::size_t subTextureCount() const { return m_subTextures.size(); }

    // Free for the owner; the loaders leave it empty.
    std::string name;

private:
    struct SubTexture {
        std::shared_ptr<Texture> texture;
        fpRect rect;
    };

    std::shared_ptr<Texture> load(const std::string& path);

    std::vector<std::shared_ptr<Texture>> m_textures;
    std::unordered_map<std::string, SubTexture> m_subTextures;
};

// Reads a texture set list from the game data: when its first line is "atlases:", every
// further line names a map file (the page image is the map path with ".png" for its
// extension), otherwise every line names an image. Paths are relative to the list's
// folder; blank lines are skipped. A missing or empty list throws CheckReleaseError
// "Texture set list file missing: " + path; errors of the maps propagate.
std::unique_ptr<TextureSet> loadTextureSet(const std::string& listPath);

} // namespace zor
