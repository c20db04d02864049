// The Visualizer's draw list on screen: decals in the world perspective, read back from a
// render target. Every value is worked out by hand from the view below.

#include "game/presentation/Visualizer.h"

#include "Framework/core/math/Randomizer.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "game/world/World.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/gl/GLTestContext.h"

#include <vector>

namespace zor::presentation {
namespace {

using test::Pixel;

const Pixel White{255, 255, 255, 255};
const Pixel Black{0, 0, 0, 255};

class VisualizerRenderTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (!SettingsHandler::exists()) m_settings = std::make_unique<SettingsHandler>();
        SettingsHandler::instance().loadDefinitions("Definitions/settings.xml");
    }

    static std::shared_ptr<Texture> whiteTexture(int size) {
        const std::vector<std::uint8_t> pixels(std::size_t(size * size * 4), 255);
        auto texture = Texture::createDynamic(PixelFormatRGBA8, iVector2(size, size), TextureSampling{});
        texture->uploadPixels(pixels.data());
        return texture;
    }

    std::unique_ptr<SettingsHandler> m_settings;
};

TEST_F(VisualizerRenderTest, ADecalAtDepthZIsDrawnAtOneOverOnePlusZTowardsTheCentre) {
    // A view of 160 x 80 units over a 160 x 80 target, the view's top-left at the origin.
    RenderTarget target(160, 80);
    useTargetAsScreen(target, 160.0f, 80.0f);
    TextureSet decals;
    decals.add("patch", whiteTexture(32), {0, 0, 32, 32});
    VisualizerAssets assets;
    assets.decals = &decals;
    Randomizer random = Randomizer::fromSeed(3);
    World world(random);
    Visualizer visualizer(nullptr, assets, world);
    visualizer.createRenderResources();

    auto level = std::make_shared<Level>("pixels");
    level->library = std::make_shared<PatchLibraryTables>();
    TileLayerGrid layer;
    layer.width = 4;
    layer.height = 2;
    layer.tiles.assign(8, 0);
    level->layers.push_back(layer);
    level->tileMap = std::make_shared<PersistentTileMap>(4, 2, 1);
    PatchTransformObject plane, deep;
    plane.name = deep.name = "patch";
    plane.transform = fpMatrix4::translation(8, 8, 0);
    // Depth 2 in a view 160 wide: z = 8 * 40 / 320 = 1, drawn at half size towards (80, 40).
    deep.transform = fpMatrix4::translation(96, 40, 2);
    level->transformObjects = {plane, deep};
    world.level = level;
    world.levelStarted.fireNoArgs();
    world.camera.viewSize = {160, 80};
    world.camera.setTopLeft({0, 0});
    visualizer.update(UpdateRecord{1.0f / 60.0f, 0.0, false});

    bindTarget(target);
    clearToColor(PackedColor(0xFF000000u));
    visualizer.render(UpdateRecord{});
    struct Case {
        const char* why;
        int x, y;
        Pixel expected;
    } cases[] = {
        {"the plane's decal, near its top-left corner (8, 8)", 10, 10, White},
        {"the plane's decal, near its bottom-right corner (40, 40)", 38, 38, White},
        {"right of the plane's decal", 42, 10, Black},
        {"the deep decal from 80 + (96 - 80) / 2 = 88", 90, 42, White},
        {"the deep decal to 80 + (128 - 80) / 2 = 104", 102, 54, White},
        {"left of the deep decal", 86, 45, Black},
        {"right of the deep decal, where it would reach at full size", 106, 45, Black},
        {"below the deep decal, which ends at 40 + 32 / 2 = 56", 96, 58, Black},
    };
    for (const Case& c : cases) EXPECT_EQ(pixelAt(target, c.x, c.y), c.expected) << c.why;
    world.leavingGame.fireNoArgs();
}

} // namespace
} // namespace zor::presentation
