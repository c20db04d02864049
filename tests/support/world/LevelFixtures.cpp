#include "tests/support/world/LevelFixtures.h"

#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/world/PatchLibraryFixtures.h"

namespace zor::test {

namespace {

const char* const kTiles = R"(<PatchLibrary>
  <TileType Name="empty"/>
  <TileType Name="dirt" Material="loam" Solid="yes" Tier="1"/>
  <TileType Name="rubble" Material="loam" Solid="yes" Tier="1"/>
  <TileType Name="bedrock" Material="loam" Solid="yes"/>
  <TileType Name="moss" Material="loam" Solid="yes" Tier="1" Regrows="yes"/>
  <TileType Name="back"/>
  <TileType Name="stone" Material="loam" Solid="yes" Tier="2"/>
  <TileSet Name="dirt">dirt</TileSet>
  <TileSet Name="rubble">rubble</TileSet>
  <TileSet Name="bedrock">bedrock</TileSet>
  <TileSet Name="moss">moss</TileSet>
  <TileSet Name="back">back</TileSet>
  <TileSet Name="stone">stone</TileSet>
  <TileSet Name="mixed">dirt stone</TileSet>
  <TileSet Name="walls">dirt bedrock</TileSet>
</PatchLibrary>)";

const char* const kLegend = R"(<Legend>
    <Tile Char="_" Type="empty"/>
    <Tile Char="#" Type="dirt"/>
    <Tile Char="B" Type="bedrock"/>
    <Tile Char="M" Type="moss"/>
    <Tile Char="b" Type="back"/>
    <Tile Char="S" Type="stone"/>
    <Tile Char="F" Type="dirt" NotPresent="yes"/>
    <Resource Char="c" Name="copper"/>
    <Resource Char="t" Name="tin"/>
    <Resource Char="g" Name="glint"/>
    <Resource Char="p" Name="gem+0"/>
    <Resource Char="x" Name="crate"/>
  </Legend>)";

const char* const kResources = R"(
  <Resource><Name>copper</Name><ResourceType>ore</ResourceType><DepthTier>0</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>tin</Name><ResourceType>ore</ResourceType><DepthTier>1.5</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>silver</Name><ResourceType>ore</ResourceType><DepthTier>3</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>glint</Name><ResourceType>gem</ResourceType><DepthTier>0</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>shard</Name><ResourceType>gem</ResourceType><DepthTier>2</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>crystal</Name><ResourceType>gem</ResourceType><DepthTier>5</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>gem+0</Name><SpawnResource Type="gem" DepthBias="0"/></Resource>
  <Resource><Name>egg_small</Name><ResourceType>egg</ResourceType><TileTexture>v</TileTexture></Resource>
  <Resource><Name>egg_large</Name><ResourceType>egg</ResourceType><TileTexture>v</TileTexture></Resource>
  <Resource><Name>crate</Name><Persistent>true</Persistent></Resource>
  <Resource><Name>ore_here</Name><SpawnResource Type="ore" DepthBias="0"/></Resource>
)";

const char* const kActors = R"(<ActorDefinitions>
  <Actor><Name>crawler</Name></Actor>
  <Actor><Name>keeper</Name><Persistent>true</Persistent><ResetWithEarth>true</ResetWithEarth></Actor>
  <Actor><Name>guard</Name><Persistent>true</Persistent><ResetWithEarth>false</ResetWithEarth></Actor>
</ActorDefinitions>)";

} // namespace

std::string patchDocument(const std::string& body) {
    return std::string("<PatchLibrary>") + kLegend + body + "</PatchLibrary>";
}

std::string levelDescription(const std::string& body) {
    return "<Level><VeinTextures>vein</VeinTextures>" + body + "</Level>";
}

LevelFixture::LevelFixture(const std::vector<std::string>& patchSets, const std::string& resourceDefinitions) {
    resources.loadText("resources.xml", "<ResourceDefinitions>" +
                                            (resourceDefinitions.empty() ? std::string(kResources) : resourceDefinitions) +
                                            "</ResourceDefinitions>");
    actors.loadText("actors.xml", kActors);
    GameDataNames names;
    for (const auto& resource : resources.definitions()) names.resources.push_back(resource->name);
    names.materials = {"loam"};
    names.levels = {"town", "mine"};
    std::vector<std::string> sources{kTiles};
    for (const std::string& body : patchSets) sources.push_back(patchDocument(body));
    library = readLibrary(compileLibrary(sources, names), names.resources.size());
}

LevelBuildSources LevelFixture::sources() const { return {library, &resources, &actors}; }

std::shared_ptr<Level> LevelFixture::build(const std::string& description,
                                           std::shared_ptr<PersistentLevelInfo>& info) const {
    Randomizer seeds(1, 2);
    return LevelBuilder(sources()).buildLevelFromText("fixture", description, info, seeds);
}

std::shared_ptr<Level> LevelFixture::build(const std::string& description, std::int32_t seedLow,
                                           std::int32_t seedHigh, bool legacy) const {
    auto info = std::make_shared<PersistentLevelInfo>();
    info->seedLow = seedLow;
    info->seedHigh = seedHigh;
    info->legacy = legacy;
    return build(description, info);
}

std::int32_t LevelFixture::resourceIndex(const std::string& name) const { return resources.indexOf(name) + 1; }

} // namespace zor::test
