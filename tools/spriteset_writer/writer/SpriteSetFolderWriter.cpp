#include "tools/spriteset_writer/writer/SpriteSetFolderWriter.h"

#include "Framework/core/Errors.h"
#include "Framework/graphics/sprite/SpriteSet.h"
#include "tools/spriteset_writer/writer/AtlasPacker.h"
#include "tools/spriteset_writer/writer/PngWriter.h"
#include "tools/spriteset_writer/writer/SpriteSetEncoder.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

namespace zor::spriteset {
namespace {

void writeBytes(const std::filesystem::path& path, const void* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file.flush()) throw std::runtime_error("Could not write " + path.string());
}

void checkNames(const SpriteSetDescription& description) {
    std::set<std::string> images;
    for (const ImageDescription& image : description.images) {
        if (!images.insert(image.name).second) throw std::runtime_error("Image '" + image.name + "' is described twice");
    }
    for (const SpriteDefinition& sprite : description.sprites) {
        if (!sprite.textureName.empty() && !images.count(sprite.textureName)) {
            throw std::runtime_error("Sprite '" + sprite.name + "' shows the image '" + sprite.textureName +
                                     "', which is not described");
        }
    }
}

// The game's own reader links the encoded set, so what it would reject is caught here.
void checkLinks(const std::vector<std::uint8_t>& bytes, const std::string& outputFolder) {
    ByteArray data(new std::uint8_t[bytes.size()]);
    std::memcpy(data.get(), bytes.data(), bytes.size());
    try {
        readSpriteSet(data, bytes.size(), outputFolder);
    } catch (const CheckReleaseError& error) {
        throw std::runtime_error(error.what());
    }
}

} // namespace

void writeSpriteSetFolder(const SpriteSetDescription& description, const std::string& imageFolder,
                          const std::string& outputFolder) {
    checkNames(description);
    const std::vector<std::uint8_t> setBytes = encodeSpriteSet(description);
    checkLinks(setBytes, outputFolder);

    std::vector<RgbaImage> images;
    std::vector<iVector2> sizes;
    for (const ImageDescription& image : description.images) {
        images.push_back(readPngFile((std::filesystem::path(imageFolder) / image.file).string()));
        sizes.push_back({images.back().width, images.back().height});
    }
    AtlasLayout layout;
    try {
        layout = packAtlas(sizes, description.pageSize, description.padding);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(std::string(error.what()) + " (images in description order, from 0)");
    }

    std::vector<RgbaImage> pages;
    std::vector<std::string> maps(layout.pageSizes.size());
    for (const iVector2& size : layout.pageSizes) pages.emplace_back(size.x, size.y);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const AtlasPlacement& place = layout.placements[i];
        const RgbaImage& image = images[i];
        for (int y = 0; y < image.height; ++y) {
            std::memcpy(pages[place.page].at(place.x, place.y + y), image.at(0, y),
                        static_cast<std::size_t>(image.width) * 4);
        }
        maps[place.page] += description.images[i].name + " = " + std::to_string(place.x) + " " +
                            std::to_string(place.y) + " " + std::to_string(image.width) + " " +
                            std::to_string(image.height) + "\n";
    }

    const std::filesystem::path folder(outputFolder);
    std::filesystem::create_directories(folder);
    std::string list = "atlases:\n";
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const std::string stem = "page" + std::to_string(page);
        writePngFile((folder / (stem + ".png")).string(), pages[page]);
        writeBytes(folder / (stem + ".map"), maps[page].data(), maps[page].size());
        list += stem + ".map\n";
    }
    writeBytes(folder / "atlas.lst", list.data(), list.size());
    writeBytes(folder / "spriteset.dat", setBytes.data(), setBytes.size());
}

} // namespace zor::spriteset
