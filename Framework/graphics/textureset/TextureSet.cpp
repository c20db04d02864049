#include "Framework/graphics/textureset/TextureSet.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/textureset/AtlasMap.h"

namespace zor {

float textureMapScale = 1.0f;

namespace {

// Linear both ways and clamped: atlas neighbours must not bleed in at the edges.
TextureSampling atlasSampling() {
    TextureSampling sampling;
    sampling.minFilter = 1;
    sampling.magFilter = 1;
    sampling.wrapS = 0;
    sampling.wrapT = 0;
    return sampling;
}

bool isBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

TextureSet::TextureSet() : m_subTextures(11) {
    m_subTextures.max_load_factor(1.0f);
}

std::shared_ptr<Texture> TextureSet::load(const std::string& path) {
    auto texture = std::make_shared<Texture>(path, false, atlasSampling());
    m_textures.push_back(texture);
    return texture;
}

void TextureSet::loadAtlases(const std::vector<AtlasEntry>& atlases) {
    for (const AtlasEntry& atlas : atlases) {
        const std::shared_ptr<Texture> page = load(atlas.image);
        std::vector<std::string> lines;
        readLines(atlas.map, lines, FileLocation::GameData, false);
        if (lines.empty()) throw CheckReleaseError("Texture map file non-existant or empty: " + atlas.map);
        for (AtlasMapEntry& entry : parseAtlasMap(lines, atlas.map, textureMapScale)) {
            m_subTextures[std::move(entry.name)] = SubTexture{page, entry.rect};
        }
    }
}

void TextureSet::loadTextures(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        const std::shared_ptr<Texture> texture = load(path);
        m_subTextures[removeExtension(fileNameOf(path))] =
            SubTexture{texture, fpRect(0.0f, 0.0f, texture->width(), texture->height())};
    }
}

void TextureSet::add(const std::string& name, std::shared_ptr<Texture> texture, const fpRect& rect) {
    m_textures.push_back(texture);
    m_subTextures[name] = SubTexture{std::move(texture), rect};
}

bool TextureSet::findTexture(const std::string& name, TextureSetReference& out) const {
    if (m_subTextures.empty()) return false;
    const auto found = m_subTextures.find(name);
    if (found == m_subTextures.end()) return false;
    out.texture = found->second.texture.get();
    out.rect = found->second.rect;
    return true;
}

std::unique_ptr<TextureSet> loadTextureSet(const std::string& listPath) {
    std::vector<std::string> lines;
    readLines(listPath, lines, FileLocation::GameData, false);
    if (lines.empty()) throw CheckReleaseError("Texture set list file missing: " + listPath);

    const std::string folder = directoryOf(listPath);
    auto set = std::make_unique<TextureSet>();
    if (lines.front() == "atlases:") {
        std::vector<AtlasEntry> atlases;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (isBlank(lines[i])) continue;
            const std::string map = joinPath(folder, lines[i]);
            atlases.push_back({removeExtension(map) + ".png", map});
        }
        set->loadAtlases(atlases);
    } else {
        std::vector<std::string> paths;
        for (const std::string& line : lines) {
            if (!isBlank(line)) paths.push_back(joinPath(folder, line));
        }
        set->loadTextures(paths);
    }
    return set;
}

} // namespace zor
