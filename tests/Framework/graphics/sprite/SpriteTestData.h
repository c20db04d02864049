#pragma once
// Sprite and texture set fixtures, built with the sprite set writer: nothing binary is kept
// with the tests.

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "Framework/core/io/Files.h"
#include "Framework/graphics/sprite/SpriteManager.h"
#include "Framework/graphics/sprite/SpriteSet.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/common/TempFolder.h"
#include "tools/spriteset_writer/writer/PngWriter.h"
#include "tools/spriteset_writer/writer/SpriteSetDescription.h"
#include "tools/spriteset_writer/writer/SpriteSetEncoder.h"
#include "tools/spriteset_writer/writer/SpriteSetFolderWriter.h"

namespace zor::test {

using spriteset::RgbaImage;

inline RgbaImage solidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                            std::uint8_t a = 255) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = a;
        }
    }
    return image;
}

// A game data root of the test's own for the file reads of the test program. Texture
// cache entries are keyed by the relative names, so the textures loaded from the folder
// are purged when it goes.
class TempGameData {
public:
    TempGameData() : m_user("ZOR_USER_DIR", (m_folder / "user").string()) {
        initFileSystem((m_folder / "data").string());
    }
    ~TempGameData() { Texture::purgeCache(); }
    TempGameData(const TempGameData&) = delete;
    TempGameData& operator=(const TempGameData&) = delete;

    void writeText(const std::string& name, const std::string& text) const { m_folder.write("data/" + name, text); }
    void writeImage(const std::string& name, const RgbaImage& image) const {
        const std::vector<std::uint8_t> png = spriteset::encodePng(image);
        m_folder.write("data/" + name, std::string(png.begin(), png.end()));
    }
    // Writes the set described by `xml` into the game data folder, its images named by
    // their file names in `images`.
    void writeSpriteSet(const std::string& folder, const std::string& xml,
                        const std::map<std::string, RgbaImage>& images = {}) const {
        for (const auto& [file, image] : images) {
            const std::vector<std::uint8_t> png = spriteset::encodePng(image);
            m_folder.write("images/" + file, std::string(png.begin(), png.end()));
        }
        spriteset::writeSpriteSetFolder(spriteset::parseSpriteSetDescription(xml, "test.xml"),
                                        (m_folder / "images").string(), (m_folder / "data" / folder).string());
    }
    std::string nativePath(const std::string& name) const { return (m_folder / "data" / name).string(); }

private:
    TempFolder m_folder;
    ScopedEnv m_user;
};

inline ByteArray toByteArray(const std::vector<std::uint8_t>& bytes) {
    ByteArray data(new std::uint8_t[bytes.size() + 1]);
    if (!bytes.empty()) std::memcpy(data.get(), bytes.data(), bytes.size());
    return data;
}

inline std::vector<std::uint8_t> encodeXml(const std::string& xml) {
    return spriteset::encodeSpriteSet(spriteset::parseSpriteSetDescription(xml, "test.xml"));
}

// The set a description makes, read back by the game's reader, without textures.
inline std::shared_ptr<SpriteSet> spriteSetFromXml(const std::string& xml, const std::string& folder = "Sprites/test") {
    const std::vector<std::uint8_t> bytes = encodeXml(xml);
    return readSpriteSet(toByteArray(bytes), bytes.size(), folder);
}

// Sprite trees of a described set held in memory (no textures).
class TestTrees {
public:
    explicit TestTrees(const std::string& xml) : manager(spriteSetFromXml(xml)) {}
    SpritePtr make(const std::string& name) {
        SpritePtr sprite = manager.createSprite(name);
        if (!sprite) throw std::runtime_error("no sprite " + name);
        return sprite;
    }

    SpriteManager manager;
};

} // namespace zor::test
