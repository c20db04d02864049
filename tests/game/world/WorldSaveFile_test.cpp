// The world save file: what it holds in each version, the reader's refusals (each sending
// the load to the backup), the writer's limits (a refused save changes no file) and the
// entity records of visited levels.

#include "game/world/EntityRecords.h"
#include "game/world/SaveFile.h"
#include "game/world/TileWords.h"
#include "game/world/World.h"
#include "game/world/WorldSaveFiles.h"
#include "game/world/progress/SaveState.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "tests/game/world/progress/ProgressFixture.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zor {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* SaveName = "savegame_0.dat";

Bytes bytesOf(const ByteWriter& writer) {
    return Bytes(writer.data().get(), writer.data().get() + writer.size());
}

ByteArray arrayOf(const Bytes& bytes) {
    ByteArray data(new std::uint8_t[bytes.size() + 1]);
    if (!bytes.empty()) std::memcpy(data.get(), bytes.data(), bytes.size());
    return data;
}

bool decodes(const Bytes& bytes, std::size_t length, SaveState& state) {
    return SaveFile::decode(arrayOf(bytes), length, state);
}

bool decodes(const Bytes& bytes) {
    SaveState state;
    return decodes(bytes, bytes.size(), state);
}

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::uint64_t fnv1a(const Bytes& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

// A level record as a file of a given version holds it; words are written as given.
struct LevelSpec {
    std::string name = "fixture_mine";
    std::int32_t seedLow = 11, seedHigh = 22;
    std::optional<std::uint8_t> legacyByte = std::uint8_t(0);  // none: a version 17 record
    std::uint16_t width = 0, height = 0;
    std::uint8_t bits = 2;
    std::vector<std::uint32_t> words;
    fpVector2 position{40.0f, 80.0f};
    Bytes entities;
};

// A file put together field by field, so that each field can be made wrong.
struct FileSpec {
    std::uint16_t version = 19;
    PlayerProgress progress;
    std::vector<LevelSpec> levels;
    // Table strings renamed after the body is written: a name that no definition has.
    std::vector<std::pair<std::string, std::string>> renamed;
    std::size_t trailing = 0;

    Bytes build() const {
        StringTableDynamic names;
        ByteWriter progressRecord(256);
        progress.write(progressRecord, names);
        Bytes body = bytesOf(progressRecord);
        if (version < PlayerProgress::SecretsVersion) body.resize(body.size() - 2);
        ByteWriter rest(256);
        SaveState().writeCheckpointValues(rest);
        rest.writeU16(std::uint16_t(levels.size()));
        for (const LevelSpec& level : levels) {
            rest.writeU16(std::uint16_t(names.indexOf(level.name)));
            rest.writeS32(level.seedLow);
            rest.writeS32(level.seedHigh);
            if (level.legacyByte) rest.writeU8(*level.legacyByte);
            rest.writeU16(level.width);
            if (level.width != 0) {
                rest.writeU16(level.height);
                rest.writeU8(level.bits);
                for (const std::uint32_t word : level.words) rest.writeU32(word);
            }
            rest.writeFloat(level.position.x);
            rest.writeFloat(level.position.y);
            rest.writeU16(std::uint16_t(level.entities.size()));
            for (const std::uint8_t byte : level.entities) rest.writeU8(byte);
        }
        const Bytes tail = bytesOf(rest);
        body.insert(body.end(), tail.begin(), tail.end());

        ByteWriter file(256);
        file.writeU16(version);
        std::vector<std::string> strings = names.strings();
        for (const auto& [from, to] : renamed)
            for (std::string& name : strings)
                if (name == from) name = to;
        file.writeU16(std::uint16_t(strings.size()));
        for (const std::string& name : strings) file.writeString(name);
        Bytes bytes = bytesOf(file);
        bytes.insert(bytes.end(), body.begin(), body.end());
        bytes.insert(bytes.end(), trailing, 0);
        return bytes;
    }
};

// A 5 x 4 grid: one word of 16 tiles and one of 4.
LevelSpec mappedLevel(const std::string& name) {
    LevelSpec level;
    level.name = name;
    level.width = 5;
    level.height = 4;
    level.words = {0xE4E4E4E4u, 0x000000E4u};
    return level;
}

class WorldSaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::loadFixtureDefinitions();
        test::loadProgressDefinitions();
        initFileSystem("BundlePC");
    }

    // A state with a bit of everything, the same every time.
    static SaveState richState() {
        SaveState state;
        PlayerProgress& progress = state.progress;
        progress.cash = 1234;
        progress.orbs = 56;
        progress.inventory.slots.push_back({"fixture_ore", 7});
        progress.items.counts["fixture_gem"] = 2;
        progress.conversations.nextVariants["fixture_talk"] = 1;
        progress.conversations.started.insert("keeper");
        progress.questIndex = questIndexByName("q_fixture_second");
        progress.experience = 900;
        progress.returnLevel = "fixture_mine";
        progress.returnPosition = {120.0f, 360.0f};
        progress.secretsFound = 3;
        state.hitPoints = 8.5f;
        state.water = 2.0f;
        state.lightTime = 60.0f;
        state.weaponIndex = 1;
        state.toolIndex = -1;
        auto mine = std::make_shared<PersistentLevelInfo>();
        mine->seedLow = 0x1234567;
        mine->seedHigh = 42;
        mine->tileMap = std::make_shared<PersistentTileMap>(5, 4, TileBits::Solid);
        *mine->tileMap->cell(2, 1) = TileBits::Seen;
        *mine->tileMap->cell(4, 3) = TileBits::Seen | TileBits::Solid;
        mine->playerPosition = {100.0f, 40.0f};
        mine->entities = {1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        state.levels["fixture_mine"] = mine;
        auto cave = std::make_shared<PersistentLevelInfo>();
        cave->legacy = true;
        state.levels["fixture_cave"] = cave;
        return state;
    }

    void writeUserFile(const std::string& name, const Bytes& bytes) const { user.write(name, text(bytes)); }
    Bytes readUserBytes(const std::string& name) const {
        const std::string contents = user.read(name);
        return Bytes(contents.begin(), contents.end());
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(user / name); }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
};

TEST_F(WorldSaveFileTest, AStateReadsBackAsItWasWrittenAndWritesTheSameBytesAgain) {
    SaveState written = richState();
    const Bytes bytes = bytesOf(SaveFile::encode(written));
    SaveState read;
    ASSERT_TRUE(decodes(bytes, bytes.size(), read));
    const PlayerProgress& progress = read.progress;
    EXPECT_EQ(progress.cash, 1234);
    EXPECT_EQ(progress.orbs, 56);
    ASSERT_EQ(progress.inventory.slots.size(), 1u);
    EXPECT_EQ(progress.inventory.slots[0].itemName, "fixture_ore");
    EXPECT_EQ(progress.items.counts.at("fixture_gem"), 2);
    EXPECT_EQ(progress.conversations.nextVariants.at("fixture_talk"), 1);
    EXPECT_EQ(progress.conversations.started.count("keeper"), 1u);
    EXPECT_EQ(progress.questIndex, questIndexByName("q_fixture_second"));
    EXPECT_EQ(progress.experience, 900);
    EXPECT_EQ(progress.returnLevel, "fixture_mine");
    EXPECT_EQ(progress.returnPosition, fpVector2(120.0f, 360.0f));
    EXPECT_EQ(progress.secretsFound, 3);
    EXPECT_EQ(read.hitPoints, 8.5f);
    EXPECT_EQ(read.toolIndex, -1);
    ASSERT_EQ(read.levels.size(), 2u);
    const PersistentLevelInfo& mine = *read.levels.at("fixture_mine");
    EXPECT_EQ(mine.seedLow, 0x1234567);
    EXPECT_EQ(mine.seedHigh, 42);
    EXPECT_FALSE(mine.legacy);
    ASSERT_TRUE(mine.tileMap);
    EXPECT_EQ(mine.tileMap->data(), written.levels.at("fixture_mine")->tileMap->data());
    EXPECT_EQ(mine.playerPosition, fpVector2(100.0f, 40.0f));
    EXPECT_EQ(mine.entities, written.levels.at("fixture_mine")->entities);
    const PersistentLevelInfo& cave = *read.levels.at("fixture_cave");
    EXPECT_TRUE(cave.legacy);
    EXPECT_FALSE(cave.tileMap);
    EXPECT_EQ(bytesOf(SaveFile::encode(read)), bytes);
}

TEST_F(WorldSaveFileTest, TheBytesOfAFixedSmallSaveDoNotChange) {
    SaveState state = richState();
    const Bytes bytes = bytesOf(SaveFile::encode(state));
    EXPECT_EQ(bytes[0], 20);
    EXPECT_EQ(bytes[1], 0);
    // Checked by hand once: the table of seven names, the progress, the checkpoint values,
    // "fixture_cave" without a map, then "fixture_mine" with the words 0x55559555, 0xD5,
    // then the checksum.
    EXPECT_EQ(bytes.size(), 236u);
    EXPECT_EQ(fnv1a(bytes), 0x22cdf3d63c4fdb21ull) << std::hex << fnv1a(bytes);
}

TEST_F(WorldSaveFileTest, AFreshStateIsWrittenWithoutCheckpointAndReadsSo) {
    SaveState fresh;
    const Bytes bytes = bytesOf(SaveFile::encode(fresh));
    SaveState read;
    read.hitPoints = 5.0f;
    ASSERT_TRUE(decodes(bytes, bytes.size(), read));
    EXPECT_EQ(read.hitPoints, -1.0f);
    EXPECT_TRUE(read.levels.empty());
    // Hit points are the 14 bytes before the level count, which the checksum follows.
    float hitPoints = 0.0f;
    std::memcpy(&hitPoints, bytes.data() + bytes.size() - 20, 4);
    EXPECT_EQ(hitPoints, -1.0f);
}

TEST_F(WorldSaveFileTest, OlderVersionsLoadWithTheirDefaults) {
    const struct {
        std::uint16_t version;
        std::optional<std::uint8_t> legacyByte;
        bool legacy;
        std::uint16_t secrets;
    } cases[] = {
        {19, std::uint8_t(0), false, 3},
        {19, std::uint8_t(7), true, 3},  // any byte but 0 is legacy
        {18, std::uint8_t(0), false, 0},
        {17, std::nullopt, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        FileSpec file;
        file.version = c.version;
        file.progress.secretsFound = 3;
        file.levels = {mappedLevel("fixture_mine"), mappedLevel("fixture_cave")};
        for (LevelSpec& level : file.levels) level.legacyByte = c.legacyByte;
        SaveState read;
        const Bytes bytes = file.build();
        ASSERT_TRUE(decodes(bytes, bytes.size(), read));
        EXPECT_EQ(read.progress.secretsFound, c.secrets);
        ASSERT_EQ(read.levels.size(), 2u);
        for (const auto& [name, level] : read.levels) EXPECT_EQ(level->legacy, c.legacy) << name;
    }
}

TEST_F(WorldSaveFileTest, AQuestNoLongerDefinedLoadsAsTheFirst) {
    FileSpec file;
    file.progress.questIndex = questIndexByName("q_fixture_second");
    file.renamed = {{"q_fixture_second", "q_fixture_gone"}};
    SaveState read;
    read.progress.questIndex = 5;
    const Bytes bytes = file.build();
    ASSERT_TRUE(decodes(bytes, bytes.size(), read));
    EXPECT_EQ(read.progress.questIndex, 0);
}

TEST_F(WorldSaveFileTest, TilesPackSixteenToAWordFromBitZero) {
    const struct {
        std::int32_t width, height;
        std::size_t words;
    } cases[] = {{3, 3, 1}, {4, 4, 1}, {5, 4, 2}, {1, 1, 1}, {1024, 1024, 65536}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        PersistentTileMap map(c.width, c.height);
        for (std::size_t k = 0; k < map.data().size(); ++k)
            *map.cell(std::int32_t(k % std::size_t(c.width)), std::int32_t(k / std::size_t(c.width))) =
                std::uint8_t((k % 4) | 0xFC);  // the high bits are not stored
        const std::vector<std::uint32_t> words = TileWords::pack(map);
        ASSERT_EQ(words.size(), c.words);
        ASSERT_EQ(TileWords::wordCount(map.data().size(), TileWords::WrittenBits), c.words);
        std::uint32_t firstTiles = 0;  // tiles 0, 1, 2 at bits 0, 2, 4
        for (std::uint32_t k = 0; k < 3 && k < map.data().size(); ++k) firstTiles |= k << (2 * k);
        EXPECT_EQ(words[0] & 0x3Fu, firstTiles);
        const std::size_t lastTiles = map.data().size() % 16;
        if (lastTiles != 0) {
            EXPECT_EQ(words.back() >> (2 * lastTiles), 0u) << "unused high bits";
        }
        PersistentTileMap unpacked(c.width, c.height);
        TileWords::unpack(words, TileWords::WrittenBits, unpacked);
        for (std::size_t k = 0; k < map.data().size(); ++k) ASSERT_EQ(unpacked.data()[k], k % 4) << k;
    }
}

TEST_F(WorldSaveFileTest, OtherTileWidthsAreRead) {
    // 3 bits: ten tiles to a word, counting 0 to 7 and again.
    FileSpec file;
    LevelSpec level;
    level.width = 4;
    level.height = 3;
    level.bits = 3;
    level.words = {0u, 0u};
    for (std::uint32_t k = 0; k < 12; ++k) level.words[k / 10] |= (k % 8) << (3 * (k % 10));
    file.levels = {level};
    SaveState read;
    const Bytes bytes = file.build();
    ASSERT_TRUE(decodes(bytes, bytes.size(), read));
    const PersistentTileMap& map = *read.levels.at("fixture_mine")->tileMap;
    for (std::size_t k = 0; k < 12; ++k) EXPECT_EQ(map.data()[k], k % 8) << k;
}

// Each refused main file is moved aside and the backup is loaded instead.
TEST_F(WorldSaveFileTest, RefusedFilesFallBackToTheBackup) {
    FileSpec good;
    good.progress.cash = 77;
    good.levels = {mappedLevel("fixture_mine")};
    const Bytes backup = good.build();
    const auto with = [&good](auto change) {
        FileSpec file = good;
        file.progress.cash = 1;
        change(file);
        return file.build();
    };
    std::vector<std::uint32_t> wideWords(TileWords::wordCount(1025, 2), 0u);
    const Bytes whole = with([](FileSpec&) {});
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"15 bytes", Bytes(whole.begin(), whole.begin() + 15)},
        {"version 16", with([](FileSpec& f) { f.version = 16; })},
        {"version 21", with([](FileSpec& f) { f.version = 21; })},
        {"one trailing byte", with([](FileSpec& f) { f.trailing = 1; })},
        {"duplicate names", with([](FileSpec& f) { f.levels.push_back(f.levels[0]); })},
        {"513 levels",
         with([](FileSpec& f) {
             f.levels.clear();
             for (int i = 0; i < 513; ++i) {
                 f.levels.emplace_back();
                 f.levels.back().name = "level_" + std::to_string(i);
             }
         })},
        {"width 1025",
         with([&wideWords](FileSpec& f) {
             f.levels[0].width = 1025;
             f.levels[0].height = 1;
             f.levels[0].words = wideWords;
         })},
        {"height 0", with([](FileSpec& f) { f.levels[0].height = 0; })},
        {"bits 0", with([](FileSpec& f) { f.levels[0].bits = 0; })},
        {"bits 9", with([](FileSpec& f) { f.levels[0].bits = 9; })},
        {"too few tile words", with([](FileSpec& f) { f.levels[0].words.pop_back(); })},
        {"a position that is not a number",
         with([](FileSpec& f) { f.levels[0].position.x = std::numeric_limits<float>::quiet_NaN(); })},
        {"empty", Bytes()},
    };
    test::LogCapture log;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(decodes(c.bytes));
        writeUserFile(SaveName, c.bytes);
        writeUserFile(std::string(SaveName) + ".backup", backup);
        SaveState state;
        const BackedUpLoad load = readWorldSave(state, SaveName);
        EXPECT_EQ(load.source, BackedUpLoad::Backup);
        EXPECT_EQ(state.progress.cash, 77);
        EXPECT_EQ(readUserBytes(std::string(SaveName) + ".corrupt-1"), c.bytes);
        EXPECT_FALSE(exists(SaveName));
        std::filesystem::remove(user / (std::string(SaveName) + ".corrupt-1"));
    }
}

TEST_F(WorldSaveFileTest, AZeroedBlockIsRefusedByTheChecksumAndNeverRotatedOverTheBackup) {
    SaveState rich = richState();
    writeWorldSave(rich, SaveName);
    const Bytes good = readUserBytes(SaveName);
    writeWorldSave(rich, SaveName);
    // A block of the mine's record zeroed: every count still adds up, only the checksum tells.
    Bytes damaged = good;
    std::fill(damaged.end() - 40, damaged.end() - 20, std::uint8_t(0));
    ASSERT_NE(damaged, good);
    EXPECT_FALSE(decodes(damaged));
    Bytes flipped = good;
    flipped[flipped.size() / 2] ^= 0x10;
    EXPECT_FALSE(decodes(flipped));

    test::LogCapture log;
    writeUserFile(SaveName, damaged);
    SaveState next;
    writeWorldSave(next, SaveName);
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".backup"), good);
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".corrupt-1"), damaged);

    writeUserFile(SaveName, damaged);
    SaveState loaded;
    EXPECT_EQ(readWorldSave(loaded, SaveName).source, BackedUpLoad::Backup);
    EXPECT_EQ(loaded.progress.cash, 1234);
}

TEST_F(WorldSaveFileTest, ASaveCutAnywhereIsRefusedAndChangesNothing) {
    SaveState written = richState();
    const Bytes bytes = bytesOf(SaveFile::encode(written));
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SaveState state;
        state.progress.cash = -5;
        ASSERT_FALSE(decodes(bytes, length, state)) << length;
        ASSERT_EQ(state.progress.cash, -5) << length;
        ASSERT_TRUE(state.levels.empty()) << length;
    }
}

TEST_F(WorldSaveFileTest, AMissingFileIsNoFaultAndBothBadAreMovedAside) {
    SaveState state;
    state.progress.cash = 9;
    BackedUpLoad load = readWorldSave(state, SaveName);
    EXPECT_EQ(load.source, BackedUpLoad::None);
    EXPECT_FALSE(load.lost());

    test::LogCapture log;
    writeUserFile(SaveName, {1, 2, 3});
    writeUserFile(std::string(SaveName) + ".backup", {4, 5, 6});
    load = readWorldSave(state, SaveName);
    EXPECT_TRUE(load.lost());
    EXPECT_EQ(state.progress.cash, 9);
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".corrupt-1"), (Bytes{1, 2, 3}));
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".backup.corrupt-1"), (Bytes{4, 5, 6}));

    // The fresh game saves twice: the files moved aside stay as they are.
    SaveState fresh;
    writeWorldSave(fresh, SaveName);
    fresh.progress.cash = 10;
    writeWorldSave(fresh, SaveName);
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".corrupt-1"), (Bytes{1, 2, 3}));
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".backup.corrupt-1"), (Bytes{4, 5, 6}));
    ASSERT_EQ(readWorldSave(state, SaveName).source, BackedUpLoad::Main);
    EXPECT_EQ(state.progress.cash, 10);
    ASSERT_TRUE(decodes(readUserBytes(std::string(SaveName) + ".backup")));
}

TEST_F(WorldSaveFileTest, ADamagedPresentFileIsMovedAsideInsteadOfBecomingTheBackup) {
    SaveState old = richState();
    writeWorldSave(old, SaveName);
    const Bytes good = readUserBytes(SaveName);
    writeWorldSave(old, SaveName);
    writeUserFile(SaveName, {19, 0, 0xFF});
    test::LogCapture log;
    SaveState next;
    writeWorldSave(next, SaveName);
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".backup"), good);
    EXPECT_EQ(readUserBytes(std::string(SaveName) + ".corrupt-1"), (Bytes{19, 0, 0xFF}));
}

TEST_F(WorldSaveFileTest, ASaveBeyondALimitOfTheFormatFailsAndChangesNoFile) {
    const struct {
        const char* what;
        void (*change)(SaveState&);
        const char* reason;
    } cases[] = {
        {"513 levels",
         [](SaveState& s) {
             for (int i = 0; i < 513; ++i) s.levels["level_" + std::to_string(i)] = std::make_shared<PersistentLevelInfo>();
         },
         "512"},
        {"an entity record of 65536 bytes",
         [](SaveState& s) { s.levels.at("fixture_mine")->entities.assign(65536, 0); }, "65536"},
        {"a map 1025 wide",
         [](SaveState& s) { s.levels.at("fixture_mine")->tileMap = std::make_shared<PersistentTileMap>(1025, 1); },
         "1025"},
        {"a map 1025 high",
         [](SaveState& s) { s.levels.at("fixture_mine")->tileMap = std::make_shared<PersistentTileMap>(2, 1025); },
         "1025"},
        {"a level name of 65536 bytes",
         [](SaveState& s) { s.levels[std::string(65536, 'n')] = std::make_shared<PersistentLevelInfo>(); }, "65536"},
        {"65536 item counts",
         [](SaveState& s) {
             for (int i = 0; i < 65536; ++i) s.progress.items.counts["item_" + std::to_string(i)] = 1;
         },
         "item counts"},
    };
    SaveState old = richState();
    writeWorldSave(old, SaveName);
    old.progress.cash = 1;
    writeWorldSave(old, SaveName);
    const Bytes main = readUserBytes(SaveName);
    const Bytes backup = readUserBytes(std::string(SaveName) + ".backup");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SaveState state = richState();
        c.change(state);
        try {
            writeWorldSave(state, SaveName);
            ADD_FAILURE() << "saved";
        } catch (const CheckReleaseError& error) {
            const std::string text = error.what();
            EXPECT_EQ(text.rfind("Failed to write savegame!", 0), 0u) << text;
            // The log line says which file and why.
            EXPECT_NE(text.find((user / SaveName).string()), std::string::npos) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        }
        EXPECT_EQ(readUserBytes(SaveName), main);
        EXPECT_EQ(readUserBytes(std::string(SaveName) + ".backup"), backup);
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(user.path())) files += entry.is_regular_file();
    EXPECT_EQ(files, 2u);
}

TEST_F(WorldSaveFileTest, TheLimitsThemselvesAreWrittenAndRead) {
    SaveState state;
    for (int i = 0; i < 512; ++i) state.levels["level_" + std::to_string(i)] = std::make_shared<PersistentLevelInfo>();
    auto& edge = state.levels.at("level_0");
    edge->tileMap = std::make_shared<PersistentTileMap>(1024, 1024, TileBits::Solid | TileBits::Seen);
    edge->entities.assign(65535, 0);
    writeWorldSave(state, SaveName);
    SaveState read;
    ASSERT_EQ(readWorldSave(read, SaveName).source, BackedUpLoad::Main);
    EXPECT_EQ(read.levels.size(), 512u);
    EXPECT_EQ(read.levels.at("level_0")->tileMap->data(), edge->tileMap->data());
    EXPECT_EQ(read.levels.at("level_0")->entities.size(), 65535u);
}

TEST_F(WorldSaveFileTest, DiscardingKeepsTheCurrentLevelAndDeletesBothFiles) {
    SaveState state = richState();
    writeWorldSave(state, SaveName);
    writeWorldSave(state, SaveName);
    Randomizer random = Randomizer::fromSeed(3);
    World world(random);
    world.saveState.swap(state);
    auto level = std::make_shared<Level>();
    level->name = "fixture_cave";
    world.level = level;
    discardSaveKeepCurrentLevel(world, 0);
    ASSERT_EQ(world.saveState.levels.size(), 1u);
    EXPECT_TRUE(world.saveState.levels.at("fixture_cave")->legacy);
    EXPECT_FALSE(exists(SaveName));
    EXPECT_FALSE(exists(std::string(SaveName) + ".backup"));
}

class EntityRecordTest : public WorldSaveFileTest {
protected:
    Randomizer random = Randomizer::fromSeed(5);
    World world{random};
    StringTableDynamic names;

    Bytes record(const std::vector<Entity*>& entities) {
        Bytes bytes;
        writeEntities(entities, bytes, names);
        return bytes;
    }

    std::vector<GameObject*> read(const Bytes& bytes, const StringTable& table, bool& overflow) {
        ByteReader reader(arrayOf(bytes), bytes.size());
        std::vector<GameObject*> out;
        readEntities(reader, table, random, out);
        overflow = reader.overflow();
        return out;
    }

    static void release(std::vector<GameObject*>& objects) {
        for (GameObject* object : objects) delete object;
        objects.clear();
    }
};

TEST_F(EntityRecordTest, ActorsAndResourcesComeBackInOrder) {
    std::vector<Entity*> entities = {world.spawnActor("stone_guard", {80, 120}, {1, 0}),
                                     world.spawnResource("gem", {200, 40}, -1.0f),
                                     world.spawnProjectile("spores", {10, 10}, 0)};
    const Bytes bytes = record(entities);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 2) << "the projectile has no place in the record";
    bool overflow = true;
    std::vector<GameObject*> objects = read(bytes, names, overflow);
    EXPECT_FALSE(overflow);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->kind(), GameObjectKind::Actor);
    EXPECT_EQ(objects[0]->gameObjectDefinition().name, "stone_guard");
    EXPECT_EQ(objects[0]->getPosition(), fpVector2(80, 120));
    EXPECT_EQ(objects[1]->kind(), GameObjectKind::Resource);
    EXPECT_EQ(objects[1]->gameObjectDefinition().name, "gem");
    EXPECT_EQ(objects[1]->getPosition(), fpVector2(200, 40));
    release(objects);
}

TEST_F(EntityRecordTest, AFaultKeepsTheEntitiesBeforeIt) {
    ActorObject* guard = world.spawnActor("stone_guard", {80, 120}, {1, 0});
    const std::size_t second = record({guard}).size();
    const Bytes bytes = record({guard, world.spawnResource("gem", {200, 40}, -1.0f)});
    const struct {
        const char* what;
        std::function<void(Bytes&, std::vector<std::string>&)> change;
    } cases[] = {
        {"a definition no longer registered",
         [](Bytes&, std::vector<std::string>& strings) {
             for (std::string& name : strings)
                 if (name == "gem") name = "gem_gone";
         }},
        {"type code 1", [second](Bytes& b, std::vector<std::string>&) { b[second] = 1; }},
        {"kind 2", [second](Bytes& b, std::vector<std::string>&) { b[second + 1] = 2; }},
        {"cut short", [](Bytes& b, std::vector<std::string>&) { b.pop_back(); }},
        {"a name index beyond the table", [second](Bytes& b, std::vector<std::string>&) { b[second + 3] = 0x7F; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes changed = bytes;
        std::vector<std::string> strings = names.strings();
        c.change(changed, strings);
        bool overflow = false;
        std::vector<GameObject*> objects = read(changed, test::tableOf(strings), overflow);
        EXPECT_TRUE(overflow);
        ASSERT_EQ(objects.size(), 1u);
        EXPECT_EQ(objects[0]->gameObjectDefinition().name, "stone_guard");
        release(objects);
    }
}

} // namespace
} // namespace zor
