#include "tests/support/game/FixtureLevels.h"

#include "tests/support/world/PatchLibraryFixtures.h"

#include "game/definitions/ResourceDefinition.h"
#include "game/definitions/ActorDefinition.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/PatchLibraryTables.h"

#include <stdexcept>

namespace zor::test {

namespace {

const char* const Tiles = R"(<PatchLibrary>
  <TileType Name="empty"/>
  <TileType Name="dirt" Material="loam" Solid="yes" Tier="1"/>
  <TileType Name="back"/>
  <TileType Name="bedrock" Material="loam" Solid="yes"/>
  <TileType Name="moss" Material="loam" Solid="yes" Tier="1" Regrows="yes"/>
  <TileType Name="lichen" Material="lichen_matter" Solid="yes" Tier="1" Regrows="yes"/>
  <TileType Name="rubble" Material="loam" Solid="yes" Tier="1" BreaksUnderPressure="yes"/>
  <TileSet Name="ground">dirt</TileSet>
  <Level Name="fixture_town"><Link Target="fixture_mine"/></Level>
  <Level Name="fixture_mine">
    <Link Target="fixture_town"/><Link Target="fixture_deep"/><Link Target="fixture_cave"/>
  </Level>
  <Level Name="fixture_deep"><Link Target="fixture_mine"/></Level>
  <Level Name="fixture_cave" SubLevel="yes"><Link Target="fixture_mine"/></Level>
</PatchLibrary>)";

const char* const Room = R"(
      <Layer Scale="1">
        BBBBBBBBBBBBBBBBBBBB
        B__________________B
        B__________________B
        B__________________B
        B__________________B
        B__________________B
        B__________________B
        B_____MMLL_____RR__B
        B##################B
        BBBBBBBBBBBBBBBBBBBB
      </Layer>
      <Marker Name="[start]" X="120" Y="320"/>
      <Marker Name="[side]" X="600" Y="320" FacesRight="no"/>)";

std::string patchSets() {
    return std::string(R"(<PatchLibrary>
  <Legend>
    <Tile Char="_" Type="empty"/>
    <Tile Char="#" Type="dirt"/>
    <Tile Char="B" Type="bedrock"/>
    <Tile Char="M" Type="moss"/>
    <Tile Char="L" Type="lichen"/>
    <Tile Char="R" Type="rubble"/>
  </Legend>
  <PatchSet Name="town_room">
    <Patch Name="plaza" Width="20" Height="10">)") +
           Room + R"(
      <Exit Name="to_mine" X="680" Y="320" HalfSize="40" TargetLevel="fixture_mine" TargetEntry="[start]"/>
    </Patch>
  </PatchSet>
  <PatchSet Name="mine_room">
    <Patch Name="shaft" Width="20" Height="10">)" +
           Room + R"(
      <Exit Name="to_deep" X="680" Y="320" HalfSize="40" TargetLevel="fixture_deep" TargetEntry="[start]"/>
      <Entity Id="1" Definition="crawler" X="460" Y="200" Settle="yes"/>
      <Entity Id="2" Definition="ore" X="300" Y="300"/>
      <Rect Id="3" Name="trigger_zone" X="40" Y="40" Width="80" Height="80"/>
      <Point Id="4" Name="lamp_spot" X="200" Y="100"/>
    </Patch>
  </PatchSet>
  <PatchSet Name="deep_room">
    <Patch Name="hall" Width="20" Height="10">)" +
           Room + R"(
    </Patch>
  </PatchSet>
</PatchLibrary>)";
}

std::string roomLevel(const std::string& patchSet, const std::string& flags) {
    return flags + "<Fillers><Spacing>0</Spacing><Foreground>ground</Foreground></Fillers>"
                   "<Slices><Slice><PatchSets>" +
           patchSet + "</PatchSets></Slice></Slices>";
}

std::shared_ptr<const PatchLibraryTables> compiledLibrary() {
    static const std::shared_ptr<const PatchLibraryTables> library = [] {
        GameDataNames names;
        for (const auto& resource : resourceRegistry().definitions()) names.resources.push_back(resource->name);
        names.materials = {"loam", "lichen_matter"};
        names.levels = {"fixture_town", "fixture_mine", "fixture_deep", "fixture_cave", "fixture_reset", "deepvault",
                        "shalebury"};
        return std::shared_ptr<const PatchLibraryTables>(
            readLibrary(compileLibrary({Tiles, patchSets()}, names), names.resources.size()));
    }();
    return library;
}

} // namespace

FixtureLevels::FixtureLevels() {
    addLevel("fixture_town", roomLevel("town_room", "<AtSurface>yes</AtSurface><SaveOnEnter>yes</SaveOnEnter>"));
    addLevel("shalebury", roomLevel("town_room", "<AtSurface>yes</AtSurface><SaveOnEnter>yes</SaveOnEnter>"));
    addLevel("fixture_mine", roomLevel("mine_room", "<SaveOnLeave>yes</SaveOnLeave><StartDepth>0</StartDepth>"));
    addLevel("fixture_deep", roomLevel("deep_room", "<StartDepth>20</StartDepth>"));
    addLevel("deepvault", roomLevel("deep_room", ""));
    addLevel("fixture_cave", roomLevel("deep_room", "<IsCave>yes</IsCave><ResetEntities>yes</ResetEntities>"));
    addLevel("fixture_reset", roomLevel("mine_room", "<ResetEarth>yes</ResetEarth>"));
}

void FixtureLevels::addLevel(const std::string& name, const std::string& body) {
    m_descriptions[name] = "<Level><VeinTextures>vein</VeinTextures>" + body + "</Level>";
}

LevelBuildSources FixtureLevels::sources() const {
    return {compiledLibrary(), &resourceRegistry(), &actorRegistry()};
}

std::shared_ptr<Level> FixtureLevels::buildLevel(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info,
                                                 Randomizer& seeds) const {
    const auto found = m_descriptions.find(name);
    if (found == m_descriptions.end())
        throw std::runtime_error("Could not load level " + levelDescriptionPath(name) + ": no fixture level");
    return LevelBuilder(sources()).buildLevelFromText(name, found->second, info, seeds);
}

std::shared_ptr<Level> FixtureLevels::buildSpecificPatchLevel(const std::string& patchSetName,
                                                              const std::string& patchName, Randomizer& seeds) const {
    return LevelBuilder(sources()).buildSpecificPatchLevel(patchSetName, patchName, seeds);
}

const std::shared_ptr<FixtureLevels>& fixtureLevels() {
    static const std::shared_ptr<FixtureLevels> levels = std::make_shared<FixtureLevels>();
    return levels;
}

} // namespace zor::test
