#include "game/world/TileWords.h"

#include "game/world/PersistentTileMap.h"

namespace zor::TileWords {

std::size_t wordCount(std::size_t tiles, std::uint32_t bits) {
    const std::size_t perWord = 32 / bits;
    return (tiles + perWord - 1) / perWord;
}

std::vector<std::uint32_t> pack(const PersistentTileMap& map) {
    const std::vector<std::uint8_t>& tiles = map.data();
    std::vector<std::uint32_t> words(wordCount(tiles.size(), WrittenBits), 0u);
    constexpr std::size_t PerWord = 32 / WrittenBits;
    for (std::size_t k = 0; k < tiles.size(); ++k)
        words[k / PerWord] |= std::uint32_t(tiles[k] & 3u) << (WrittenBits * (k % PerWord));
    return words;
}

void unpack(const std::vector<std::uint32_t>& words, std::uint32_t bits, PersistentTileMap& map) {
    const std::size_t perWord = 32 / bits;
    const std::uint32_t mask = (1u << bits) - 1u;
    std::uint8_t* tiles = map.width() > 0 && map.height() > 0 ? map.cell(0, 0) : nullptr;
    const std::size_t count = map.data().size();
    for (std::size_t k = 0; k < count; ++k)
        tiles[k] = std::uint8_t((words[k / perWord] >> (bits * (k % perWord))) & mask);
}

} // namespace zor::TileWords
