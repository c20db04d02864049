// One level build of a 60 x 600-tile mine from the sample data's patch sets and tile sets:
// an entry slice, thirteen slices of rooms with rect, noise and circle fields, borders,
// gems and density resources, and the bedrock floor. The game builds a level behind its
// loading screen on the worker thread; the goal is at most 50 ms per build. It reads the
// build's "BundlePC" wherever it runs. Arguments: 0 the current generator, 1 the legacy
// one.
//
// BuildSampleMine builds "mine1" as shipped; BuildWorstMine the same mine whose rooms slice
// has every count the level checks allow per slice at its limit (fields, octaves, rects,
// slice resources). The goal: the worst at most 20 times the sample's time (compare the
// rows of one run).

#include <benchmark/benchmark.h>

#include <string>

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/LevelValidation.h"
#include "game/world/level/PatchLibrarySections.h"
#include "tests/support/common/TempFolder.h"

namespace {

void useGameData() {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    static const bool loaded = [] {
        zor::installPatchLibraryReader();
        zor::initFileSystem(ZOR_BENCH_BUNDLE_DIR);
        zor::loadAllDefinitions();
        return true;
    }();
    (void)loaded;
}

std::string deepMine() {
    std::string rooms;
    for (int i = 0; i < 13; ++i)
        rooms += R"(<Slice Width="60" Height="45" Gems="2" SmallEggs="1">
      <PatchSets>mine_rooms</PatchSets>
      <Fillers><Fields>
        <Rock Hard="yes" Style="rect" Tileset="hard_rock" NumberOfFields="12" MinSizeX="2" MaxSizeX="6" MinSizeY="1" MaxSizeY="3"/>
        <Dirt Style="basic" Tileset="soft_dirt" Max="0.35" Freq="0.15" Octaves="2" Persistence="0.6"/>
        <Hollow Hard="yes" WithinBorders="no" Style="circle" Radius="4" Gap="8"/>
      </Fields></Fillers>
    </Slice>)";
    return R"(<Level>
  <StartDepth>0</StartDepth>
  <ResourceDensity Constant="1.5" Linear="0.04"/>
  <ResourceStartDepth>6</ResourceStartDepth>
  <ResourceTierLength>25</ResourceTierLength>
  <VeinTextures>vein_copper</VeinTextures>
  <Fillers>
    <Spacing>1</Spacing>
    <Foreground>mine_fore</Foreground>
    <Midground>mine_mid</Midground>
    <Background>mine_back</Background>
    <Borders>mine_borders</Borders>
    <BorderWidth>2</BorderWidth>
    <BorderStyle>Sinus</BorderStyle>
    <BorderStyleValueA>0.3</BorderStyleValueA>
  </Fillers>
  <PatchDecks><Deck Name="dens" Positives="1" Negatives="2"/></PatchDecks>
  <Slices>
    <Slice Width="60" Height="10"><PatchSets>mine_entry</PatchSets></Slice>)" +
           rooms + R"(
    <Slice Width="60" Height="5"><PatchSets>mine_floor</PatchSets>
      <Fillers><Spacing>0</Spacing><BorderWidth>0</BorderWidth></Fillers></Slice>
  </Slices>
</Level>)";
}

void BuildDeepMine(benchmark::State& state) {
    useGameData();
    const std::string description = deepMine();
    std::int32_t seed = 1;
    std::size_t cells = 0;
    for (auto _ : state) {
        auto info = std::make_shared<zor::PersistentLevelInfo>();
        info->seedLow = seed++;
        info->seedHigh = 7;
        info->legacy = state.range(0) != 0;
        zor::Randomizer seeds(1, 2);
        const auto level = zor::LevelBuilder().buildLevelFromText("deep_mine", description, info, seeds);
        cells = level->mainLayer().tiles.size();
        benchmark::DoNotOptimize(level->cellRecords.size());
    }
    state.counters["cells"] = double(cells);
}
BENCHMARK(BuildDeepMine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

std::string sampleMine() {
    std::string text;
    zor::readText("Levels/mine1.xml", text);
    return text;
}

std::string attribute(const char* name, std::int64_t value) {
    return std::string(" ") + name + "=\"" + std::to_string(value) + "\"";
}

// The sample mine with its rooms slice at every per-slice limit.
std::string worstMine() {
    using namespace zor::LevelLimits;
    std::string text = sampleMine();
    const std::string rooms = "<Slice Width=\"40\" Height=\"40\"";
    text.insert(text.find(rooms) + rooms.size(), attribute("Gems", MaxSliceResources) +
                                                     attribute("SmallEggs", MaxSliceResources) +
                                                     attribute("LargeEggs", MaxSliceResources));
    std::string fields = "<Fields>";
    for (int i = 0; i < MaxSliceFields; ++i) {
        if (i % 2 == 0)
            fields += "<Noise Style=\"abs\" Tileset=\"soft_dirt\" Max=\"0.5\" Freq=\"0.15\" Persistence=\"0.6\"" +
                      attribute("Octaves", MaxOctaves) + "/>";
        else
            fields += "<Rock Hard=\"yes\" Style=\"rect\" Tileset=\"hard_rock\"" + attribute("NumberOfFields", MaxFields) +
                      attribute("MinSizeX", MaxFieldSize) + attribute("MaxSizeX", MaxFieldSize) +
                      attribute("MinSizeY", MaxFieldSize) + attribute("MaxSizeY", MaxFieldSize) + "/>";
    }
    const std::size_t begin = text.find("<Fields>");
    text.replace(begin, text.find("</Fields>") - begin, fields);
    return text;
}

void buildMine(benchmark::State& state, const std::string& description) {
    std::int32_t seed = 1;
    for (auto _ : state) {
        auto info = std::make_shared<zor::PersistentLevelInfo>();
        info->seedLow = seed++;
        info->seedHigh = 7;
        zor::Randomizer seeds(1, 2);
        const auto level = zor::LevelBuilder().buildLevelFromText("mine1", description, info, seeds);
        benchmark::DoNotOptimize(level->cellRecords.size());
    }
}

void BuildSampleMine(benchmark::State& state) {
    useGameData();
    buildMine(state, sampleMine());
}
BENCHMARK(BuildSampleMine)->Unit(benchmark::kMillisecond);

void BuildWorstMine(benchmark::State& state) {
    useGameData();
    buildMine(state, worstMine());
}
BENCHMARK(BuildWorstMine)->Unit(benchmark::kMillisecond);


} // namespace
