#include "tools/spriteset_writer/writer/SpriteSetFolderWriter.h"

#include "tests/support/common/TempFolder.h"
#include "tools/spriteset_writer/writer/PngWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>

namespace zor::spriteset {
namespace {

RgbaImage gradient(int width, int height, std::uint8_t seed) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = static_cast<std::uint8_t>(seed + x);
            p[1] = static_cast<std::uint8_t>(seed + y * 7);
            p[2] = seed;
            p[3] = static_cast<std::uint8_t>(255 - x);
        }
    }
    return image;
}

class FolderWriterTest : public ::testing::Test {
protected:
    FolderWriterTest() {
        std::filesystem::create_directories(folder / "images" / "sub");
        writePngFile((folder / "images" / "wide.png").string(), gradient(20, 6, 10));
        writePngFile((folder / "images" / "sub" / "tall.png").string(), gradient(5, 12, 90));
    }

    void write(const std::string& xml) {
        writeSpriteSetFolder(parseSpriteSetDescription(xml, "test.xml"), (folder / "images").string(),
                             (folder / "out").string());
    }

    test::TempFolder folder;
};

TEST_F(FolderWriterTest, PagesHoldTheImagesWhereTheirMapsSay) {
    write(R"(<SpriteSet PageSize="32" Padding="1">
      <Image File="wide.png"/><Image Name="tall" File="sub/tall.png"/>
      <Sprite Name="s" Texture="tall"/>
    </SpriteSet>)");
    const std::string list = folder.read("out/atlas.lst");
    ASSERT_EQ(list.rfind("atlases:\npage0.map\n", 0), 0u) << list;
    EXPECT_TRUE(std::filesystem::exists(folder / "out" / "spriteset.dat"));

    std::map<std::string, std::string> pageOf;
    for (std::size_t page = 0; std::filesystem::exists(folder / "out" / ("page" + std::to_string(page) + ".map"));
         ++page) {
        const std::string stem = "page" + std::to_string(page);
        const RgbaImage pageImage = readPngFile((folder / "out" / (stem + ".png")).string());
        std::istringstream map(folder.read("out/" + stem + ".map"));
        std::string name, equals;
        int x, y, w, h;
        while (map >> name >> equals >> x >> y >> w >> h) {
            pageOf[name] = stem;
            const RgbaImage source = readPngFile((folder / "images" / (name == "tall" ? "sub/tall.png" : "wide.png")).string());
            ASSERT_EQ(w, source.width);
            ASSERT_EQ(h, source.height);
            for (int row = 0; row < h; ++row) {
                for (int column = 0; column < w; ++column) {
                    ASSERT_EQ(std::memcmp(pageImage.at(x + column, y + row), source.at(column, row), 4), 0)
                        << name << " at " << column << ", " << row;
                }
            }
        }
    }
    EXPECT_EQ(pageOf.size(), 2u);
}

TEST_F(FolderWriterTest, WritesNothingForAFaultyDescription) {
    const struct {
        const char* xml;
        const char* message;
    } cases[] = {
        {R"(<SpriteSet><Image File="wide.png"/><Image Name="wide" File="sub/tall.png"/></SpriteSet>)",
         "Image 'wide' is described twice"},
        {R"(<SpriteSet><Image File="wide.png"/><Sprite Name="s" Texture="Wide"/></SpriteSet>)",
         "Sprite 's' shows the image 'Wide', which is not described"},
        {R"(<SpriteSet><Sprite Name="s"><Child Name="c" Sprite="t"/></Sprite></SpriteSet>)",
         "child 'c' of definition 's' names the missing definition 't'"},
        {R"(<SpriteSet><Sprite Name="s"><Child Name="c" Sprite="t"/></Sprite>
            <Sprite Name="t"><Child Name="d" Sprite="s"/></Sprite></SpriteSet>)",
         "definition 's' contains itself (s > t > s)"},
        {R"(<SpriteSet><Image File="absent.png"/></SpriteSet>)", "Could not open image"},
        {R"(<SpriteSet PageSize="16"><Image File="wide.png"/></SpriteSet>)", "does not fit an atlas page of 16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        try {
            write(c.xml);
            ADD_FAILURE() << "written";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
        EXPECT_FALSE(std::filesystem::exists(folder / "out"));
    }
}

} // namespace
} // namespace zor::spriteset
