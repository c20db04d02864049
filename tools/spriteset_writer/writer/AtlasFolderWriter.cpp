#include "tools/spriteset_writer/writer/AtlasFolderWriter.h"

#include "tools/spriteset_writer/writer/AtlasPacker.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zor::spriteset {

void writeFileBytes(const std::string& path, const void* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file.flush()) throw std::runtime_error("Could not write " + path);
}

void writeAtlasFolder(const std::vector<NamedImage>& images, int pageSize, int padding,
                      const std::string& outputFolder) {
    std::vector<iVector2> sizes;
    for (const NamedImage& named : images) sizes.push_back({named.image.width, named.image.height});
    const AtlasLayout layout = packAtlas(sizes, pageSize, padding);

    std::vector<RgbaImage> pages;
    std::vector<std::string> maps(layout.pageSizes.size());
    for (const iVector2& size : layout.pageSizes) pages.emplace_back(size.x, size.y);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const AtlasPlacement& place = layout.placements[i];
        const RgbaImage& image = images[i].image;
        for (int y = 0; y < image.height; ++y) {
            std::memcpy(pages[place.page].at(place.x, place.y + y), image.at(0, y),
                        static_cast<std::size_t>(image.width) * 4);
        }
        maps[place.page] += images[i].name + " = " + std::to_string(place.x) + " " + std::to_string(place.y) + " " +
                            std::to_string(image.width) + " " + std::to_string(image.height) + "\n";
    }

    const std::filesystem::path folder(outputFolder);
    std::filesystem::create_directories(folder);
    std::string list = "atlases:\n";
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const std::string stem = "page" + std::to_string(page);
        writePngFile((folder / (stem + ".png")).string(), pages[page]);
        writeFileBytes((folder / (stem + ".map")).string(), maps[page].data(), maps[page].size());
        list += stem + ".map\n";
    }
    writeFileBytes((folder / "atlas.lst").string(), list.data(), list.size());
}

} // namespace zor::spriteset
