#include "tools/spriteset_writer/writer/SpriteSetFolderWriter.h"

#include "Framework/core/Errors.h"
#include "Framework/graphics/sprite/SpriteSet.h"
#include "tools/spriteset_writer/writer/AtlasFolderWriter.h"
#include "tools/spriteset_writer/writer/SpriteSetEncoder.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <stdexcept>

namespace zor::spriteset {
namespace {

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

    std::vector<NamedImage> images;
    for (const ImageDescription& image : description.images)
        images.push_back({image.name, readPngFile((std::filesystem::path(imageFolder) / image.file).string())});
    try {
        writeAtlasFolder(images, description.pageSize, description.padding, outputFolder);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(std::string(error.what()) + " (images in description order, from 0)");
    }
    writeFileBytes((std::filesystem::path(outputFolder) / "spriteset.dat").string(), setBytes.data(), setBytes.size());
}

} // namespace zor::spriteset
