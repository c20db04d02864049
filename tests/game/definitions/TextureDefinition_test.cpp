#include "game/definitions/TextureDefinition.h"

#include <string>

#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

TEST(TextureDefinition, UseVRamTextsAndInheritance) {
    const struct {
        const char* attribute;
        bool fromDefaults;
        bool fromTrueTemplate;
    } cases[] = {
        {R"(UseVRam="yes")", true, true},   {R"(UseVRam="True")", true, true},
        {R"(UseVRam="1")", true, true},     {R"(UseVRam="no")", false, false},
        {R"(UseVRam="0")", false, false},   {R"(UseVRam="false")", false, false},
        {R"(UseVRam="")", false, false},    {"", false, true},
    };
    for (const auto& c : cases) {
        DefinitionRegistry<TextureDefinition> registry("TextureDefinitions", "Texture", "@Name");
        registry.loadText("Definitions/textures.xml",
                          std::string("<TextureDefinitions><Texture Name=\"vram\" UseVRam=\"y\"/>") +
                              "<Texture Name=\"plain\" " + c.attribute + "/>" + "<Texture Name=\"derived\" " +
                              c.attribute + "><Template>vram</Template></Texture></TextureDefinitions>");
        EXPECT_EQ(registry.get("plain").useVRam, c.fromDefaults) << c.attribute;
        EXPECT_EQ(registry.get("derived").useVRam, c.fromTrueTemplate) << c.attribute;
    }
}

TEST(TextureDefinition, TextureWithoutNameFailsTheLoad) {
    DefinitionRegistry<TextureDefinition> registry("TextureDefinitions", "Texture", "@Name");
    try {
        registry.loadText("Definitions/textures.xml",
                          R"(<T><Texture Name="a"/><Texture><Name>b</Name></Texture></T>)");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not load TextureDefinitions from file 'Definitions/textures.xml', "
                                             "reason: Definition 1 missing name");
    }
    EXPECT_EQ(registry.definitions().size(), 1u);
}

TEST(TextureDefinition, StartUpLoadFromTheGameDataFolder) {
    test::TempFolder folder;
    test::ScopedEnv user("ZOR_USER_DIR", (folder / "user").string());
    initFileSystem((folder / "bundle").string());
    try {
        loadTextureDefinitions();
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not load TextureDefinitions from file 'Definitions/textures.xml', "
                                             "reason: Could not read file Definitions/textures.xml");
    }
    EXPECT_TRUE(textureRegistry().definitions().empty());

    folder.write("bundle/Definitions/textures.xml",
                 R"(<TextureDefinitions><Texture Name="Textures/test_sheet.png" UseVRam="1"/></TextureDefinitions>)");
    loadTextureDefinitions();
    EXPECT_TRUE(textureRegistry().get("Textures/test_sheet.png").useVRam);
    EXPECT_EQ(textureRegistry().rootName(), "TextureDefinitions");
    EXPECT_EQ(textureRegistry().elementName(), "Texture");
    EXPECT_EQ(textureRegistry().key(), "@Name");
}

} // namespace
} // namespace zor
