#pragma once
// The achievement definitions file "Definitions/achievements.dat": a string table, the
// counters (name index, mode, store-statistic flag) and the achievements (name index,
// counter name index, threshold), little-endian, the whole file scrambled byte by byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

constexpr const char* AchievementFileName = "Definitions/achievements.dat";
// The scramble generator's first state word; the second is 0.
constexpr std::uint32_t AchievementScrambleSeed = 0x6B1D24C9u;

struct AchievementFile {
    struct Counter {
        std::string name;
        std::uint8_t mode = 0;
        bool storeStat = false;
    };
    struct Entry {
        std::string name;
        std::string counter;
        std::int32_t threshold = 0;
    };

    std::vector<Counter> counters;
    std::vector<Entry> achievements;
};

bool operator==(const AchievementFile::Counter& a, const AchievementFile::Counter& b);
bool operator==(const AchievementFile::Entry& a, const AchievementFile::Entry& b);
bool operator==(const AchievementFile& a, const AchievementFile& b);

// Scrambles and unscrambles alike: every byte is XORed with the low byte of one step of
// the generator (AchievementScrambleSeed, 0).
void scrambleAchievementBytes(std::uint8_t* bytes, std::size_t size);

// Reads scrambled file bytes. A file that ends inside a table, or a name index beyond the
// string table, throws CheckReleaseError naming the record; bytes after the tables are
// ignored.
AchievementFile decodeAchievementFile(const std::uint8_t* bytes, std::size_t size);

// The scrambled file bytes. Throws CheckReleaseError when a table or a name is too long
// for the format.
std::vector<std::uint8_t> encodeAchievementFile(const AchievementFile& file);

} // namespace zor
