#include "tools/font_writer/writer/FontWriter.h"

#include "Framework/core/io/ByteWriter.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace zor::fontwriter {

namespace {

// The first field of the file, which the game skips: a tag for people reading the bytes.
constexpr std::uint32_t FileTag = 0x544E465A;  // "ZFNT"
constexpr int MaxPageSize = 4096;

struct FreeTypeLibrary {
    FreeTypeLibrary() {
        if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType could not start");
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(library); }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
    FT_Library library = nullptr;
};

struct FreeTypeFace {
    FreeTypeFace(FT_Library library, const std::string& path) {
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0)
            throw std::runtime_error("Could not read the TrueType font " + path);
    }
    ~FreeTypeFace() { FT_Done_Face(face); }
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;
    FT_Face face = nullptr;
};

// One rendered character before packing: its coverage rows and metrics in pixels.
struct RenderedGlyph {
    std::uint32_t codePoint = 0;
    FT_UInt index = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
    int left = 0;
    int top = 0;
    int advance = 0;
    // Where its cell lies on the page.
    int cellX = 0;
    int cellY = 0;
};

int roundUpToPowerOfTwo(int value) {
    int power = 1;
    while (power < value) power *= 2;
    return power;
}

// Rows of cells, tallest glyphs first; returns the height used, or -1 when a glyph is
// wider than the page.
int packShelves(std::vector<RenderedGlyph*>& glyphs, int pageWidth, int padding) {
    int x = 0, y = 0, rowHeight = 0;
    for (RenderedGlyph* glyph : glyphs) {
        if (glyph->width == 0 || glyph->height == 0) continue;
        const int cellWidth = glyph->width + 2 * padding;
        const int cellHeight = glyph->height + 2 * padding;
        if (cellWidth > pageWidth) return -1;
        if (x + cellWidth > pageWidth) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        glyph->cellX = x;
        glyph->cellY = y;
        x += cellWidth;
        rowHeight = std::max(rowHeight, cellHeight);
    }
    return y + rowHeight;
}

GlyphPage packPage(std::vector<RenderedGlyph>& rendered, int padding) {
    std::vector<RenderedGlyph*> order;
    for (RenderedGlyph& glyph : rendered) order.push_back(&glyph);
    std::stable_sort(order.begin(), order.end(),
                     [](const RenderedGlyph* a, const RenderedGlyph* b) { return a->height > b->height; });
    for (int width = 64; width <= MaxPageSize; width *= 2) {
        const int used = packShelves(order, width, padding);
        if (used < 0 || used > width) continue;
        GlyphPage page;
        page.width = width;
        page.height = roundUpToPowerOfTwo(std::max(used, 1));
        page.pixels.assign(std::size_t(page.width) * std::size_t(page.height) * 4, 0);
        for (const RenderedGlyph& glyph : rendered) {
            for (int row = 0; row < glyph.height; ++row) {
                for (int column = 0; column < glyph.width; ++column) {
                    const std::size_t at =
                        (std::size_t(glyph.cellY + padding + row) * std::size_t(page.width) + std::size_t(glyph.cellX + padding + column)) * 4;
                    page.pixels[at] = page.pixels[at + 1] = page.pixels[at + 2] = 255;
                    page.pixels[at + 3] = glyph.coverage[std::size_t(row) * std::size_t(glyph.width) + std::size_t(column)];
                }
            }
        }
        return page;
    }
    throw std::runtime_error("The glyphs do not fit on a page of " + std::to_string(MaxPageSize) + " pixels");
}

RenderedGlyph renderGlyph(FT_Face face, std::uint32_t codePoint, FT_UInt index) {
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0)
        throw std::runtime_error("FreeType could not render the character " + std::to_string(codePoint));
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0)
        throw std::runtime_error("FreeType rendered the character " + std::to_string(codePoint) + " without grey levels");
    RenderedGlyph glyph;
    glyph.codePoint = codePoint;
    glyph.index = index;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.coverage.resize(std::size_t(glyph.width) * std::size_t(glyph.height));
    for (int row = 0; row < glyph.height; ++row)
        std::copy_n(bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch, glyph.width,
                    glyph.coverage.begin() + static_cast<std::ptrdiff_t>(row) * glyph.width);
    return glyph;
}

std::vector<KerningPair> kerningPairs(FT_Face face, const std::vector<RenderedGlyph>& glyphs) {
    std::vector<KerningPair> pairs;
    if (!FT_HAS_KERNING(face)) return pairs;
    for (const RenderedGlyph& first : glyphs) {
        // The key keeps 16 bits of each code point.
        if (first.codePoint > 0xFFFF) continue;
        for (const RenderedGlyph& second : glyphs) {
            if (second.codePoint > 0xFFFF) continue;
            FT_Vector amount{0, 0};
            if (FT_Get_Kerning(face, first.index, second.index, FT_KERNING_DEFAULT, &amount) != 0 || amount.x == 0)
                continue;
            pairs.push_back({kerningKey(first.codePoint, second.codePoint), static_cast<float>(amount.x) / 64.0f});
        }
    }
    std::sort(pairs.begin(), pairs.end(), [](const KerningPair& a, const KerningPair& b) { return a.key < b.key; });
    return pairs;
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("Could not write " + path.string());
}

std::uint32_t parseNumber(const std::string& text) {
    std::size_t used = 0;
    const int base = text.size() > 2 && (text[1] == 'x' || text[1] == 'X') && text[0] == '0' ? 16 : 10;
    const unsigned long value = std::stoul(text, &used, base);
    if (used != text.size() || value > 0x10FFFF) throw std::invalid_argument("not a code point: " + text);
    return static_cast<std::uint32_t>(value);
}

} // namespace

RenderedFont renderFont(const FontSource& source, const std::string& textureName) {
    if (source.pixelSize <= 0) throw std::runtime_error("The pixel size must be positive");
    FreeTypeLibrary library;
    FreeTypeFace face(library.library, source.trueTypePath);
    if (FT_Set_Pixel_Sizes(face.face, 0, static_cast<FT_UInt>(source.pixelSize)) != 0)
        throw std::runtime_error("FreeType cannot size " + source.trueTypePath + " at " +
                                 std::to_string(source.pixelSize) + " pixels");

    std::vector<std::uint32_t> codePoints = source.codePoints;
    std::sort(codePoints.begin(), codePoints.end());
    codePoints.erase(std::unique(codePoints.begin(), codePoints.end()), codePoints.end());
    std::vector<RenderedGlyph> rendered;
    for (const std::uint32_t codePoint : codePoints) {
        const FT_UInt index = FT_Get_Char_Index(face.face, codePoint);
        if (index != 0) rendered.push_back(renderGlyph(face.face, codePoint, index));
    }
    if (std::none_of(rendered.begin(), rendered.end(),
                     [&](const RenderedGlyph& glyph) { return glyph.codePoint == source.defaultCodePoint; }))
        throw std::runtime_error(source.trueTypePath + " has no glyph for the default character " +
                                 std::to_string(source.defaultCodePoint));

    RenderedFont font;
    font.page = packPage(rendered, source.padding);
    const FT_Size_Metrics& metrics = face.face->size->metrics;
    const int ascender = static_cast<int>((metrics.ascender + 32) >> 6);
    FontDefinition& definition = font.definition;
    definition.lineHeight = static_cast<std::uint16_t>((metrics.height + 63) >> 6);
    definition.defaultCodePoint = source.defaultCodePoint;
    definition.textureName = textureName;
    for (const RenderedGlyph& glyph : rendered) {
        Glyph record;
        record.codePoint = glyph.codePoint;
        if (glyph.width > 0 && glyph.height > 0) {
            record.x = static_cast<float>(glyph.cellX + source.padding);
            record.y = static_cast<float>(glyph.cellY + source.padding);
            record.width = static_cast<float>(glyph.width);
            record.height = static_cast<float>(glyph.height);
        }
        record.offsetX = static_cast<float>(glyph.left);
        record.offsetY = static_cast<float>(ascender - glyph.top);
        record.advance = glyph.advance;
        definition.glyphs.push_back(record);
    }
    definition.kerning = kerningPairs(face.face, rendered);
    return font;
}

std::vector<std::uint8_t> encodeFontDefinition(const FontDefinition& definition) {
    if (definition.glyphs.size() > 0xFFFF) throw std::runtime_error("A font holds at most 65535 glyphs");
    ByteWriter writer(1024);
    writer.writeU32(FileTag);
    writer.writeU16(definition.lineHeight);
    writer.writeU32(definition.defaultCodePoint);
    writer.writeString(definition.textureName);
    writer.writeU16(static_cast<std::uint16_t>(definition.glyphs.size()));
    for (const Glyph& glyph : definition.glyphs) {
        writer.writeU32(glyph.codePoint);
        writer.writeFloat(glyph.x);
        writer.writeFloat(glyph.y);
        writer.writeFloat(glyph.width);
        writer.writeFloat(glyph.height);
        writer.writeFloat(glyph.offsetX);
        writer.writeFloat(glyph.offsetY);
        writer.writeS32(glyph.advance);
    }
    writer.writeU32(static_cast<std::uint32_t>(definition.kerning.size()));
    for (const KerningPair& pair : definition.kerning) {
        writer.writeU32(pair.key);
        writer.writeFloat(pair.amount);
    }
    return std::vector<std::uint8_t>(writer.data().get(), writer.data().get() + writer.size());
}

std::vector<std::uint8_t> encodePng(const GlyphPage& page) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(page.width);
    image.height = static_cast<png_uint_32>(page.height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, page.pixels.data(), 0, nullptr))
        throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, page.pixels.data(), 0, nullptr))
        throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
    bytes.resize(size);
    return bytes;
}

void writeFontFiles(const RenderedFont& font, const std::string& fontPath) {
    const std::filesystem::path path(fontPath);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    writeBytes(path.parent_path() / font.definition.textureName, encodePng(font.page));
    writeBytes(path, encodeFontDefinition(font.definition));
}

std::vector<std::uint32_t> parseCodePoints(const std::string& list) {
    std::vector<std::uint32_t> codePoints;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, comma - start);
        if (item.empty()) throw std::invalid_argument("empty item in the character list '" + list + "'");
        const std::size_t dash = item.find('-');
        try {
            const std::uint32_t first = parseNumber(item.substr(0, dash));
            const std::uint32_t last = dash == std::string::npos ? first : parseNumber(item.substr(dash + 1));
            if (last < first) throw std::invalid_argument("backward range " + item);
            for (std::uint32_t c = first; c <= last; ++c) codePoints.push_back(c);
        } catch (const std::logic_error&) {
            throw std::invalid_argument("bad item '" + item + "' in the character list");
        }
        start = comma + 1;
    }
    return codePoints;
}

const std::string& defaultCharacterList() {
    static const std::string list =
        "32-126,160-383,0x2013-0x2014,0x2018-0x201E,0x2020-0x2022,0x2026,0x2030,0x2039-0x203A,0x20AC,0x2122,0xFFFD";
    return list;
}

} // namespace zor::fontwriter
