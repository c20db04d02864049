#include "Framework/store/AchievementFile.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"
#include "Framework/core/math/Randomizer.h"

#include <cstring>

namespace zor {

namespace {

// Reads one name index and checks it against the table; `field` names it in the error.
const std::string& readName(ByteReader& reader, const StringTable& names, const std::string& field) {
    const std::uint16_t index = reader.readU16();
    if (!reader.overflow() && index >= names.size())
        throw CheckReleaseError(field + " uses name index " + std::to_string(index) + " beyond the " +
                                std::to_string(names.size()) + " names of the file");
    return names.at(index);
}

void checkComplete(const ByteReader& reader, const std::string& where) {
    if (reader.overflow()) throw CheckReleaseError("the file ends " + where);
}

void checkCount(std::size_t count, const char* what) {
    if (count > 0xFFFF)
        throw CheckReleaseError(std::string("too many ") + what + " for the achievements file: " +
                                std::to_string(count) + ", at most 65535");
}

} // namespace

bool operator==(const AchievementFile::Counter& a, const AchievementFile::Counter& b) {
    return a.name == b.name && a.mode == b.mode && a.storeStat == b.storeStat;
}

bool operator==(const AchievementFile::Entry& a, const AchievementFile::Entry& b) {
    return a.name == b.name && a.counter == b.counter && a.threshold == b.threshold;
}

bool operator==(const AchievementFile& a, const AchievementFile& b) {
    return a.counters == b.counters && a.achievements == b.achievements;
}

void scrambleAchievementBytes(std::uint8_t* bytes, std::size_t size) {
    Randomizer generator(AchievementScrambleSeed, 0);
    for (std::size_t i = 0; i < size; ++i) bytes[i] ^= std::uint8_t(generator.next());
}

AchievementFile decodeAchievementFile(const std::uint8_t* bytes, std::size_t size) {
    ByteArray plain(new std::uint8_t[size]);
    if (size > 0) std::memcpy(plain.get(), bytes, size);
    scrambleAchievementBytes(plain.get(), size);

    ByteReader reader(plain, size);
    StringTable names;
    names.read(reader);
    if (reader.overflow()) throw CheckReleaseError("the file ends inside its name table");

    AchievementFile file;
    file.counters.resize(reader.readU16());
    checkComplete(reader, "at the counter count");
    for (std::size_t i = 0; i < file.counters.size(); ++i) {
        const std::string record = "counter " + std::to_string(i);
        AchievementFile::Counter& counter = file.counters[i];
        counter.name = readName(reader, names, record);
        counter.mode = reader.readU8();
        counter.storeStat = reader.readU8() != 0;
        checkComplete(reader, "inside " + record);
    }

    file.achievements.resize(reader.readU16());
    checkComplete(reader, "at the achievement count");
    for (std::size_t i = 0; i < file.achievements.size(); ++i) {
        const std::string record = "achievement " + std::to_string(i);
        AchievementFile::Entry& entry = file.achievements[i];
        entry.name = readName(reader, names, record);
        entry.counter = readName(reader, names, "the counter of " + record);
        entry.threshold = reader.readS32();
        checkComplete(reader, "inside " + record);
    }
    return file;
}

std::vector<std::uint8_t> encodeAchievementFile(const AchievementFile& file) {
    checkCount(file.counters.size(), "counters");
    checkCount(file.achievements.size(), "achievements");

    StringTableDynamic names;
    std::vector<std::uint16_t> indices;
    auto index = [&](const std::string& name) {
        indices.push_back(std::uint16_t(names.indexOf(name)));
        checkCount(names.size(), "names");
    };
    for (const AchievementFile::Counter& counter : file.counters) index(counter.name);
    for (const AchievementFile::Entry& entry : file.achievements) {
        index(entry.name);
        index(entry.counter);
    }

    ByteWriter writer(256);
    names.write(writer);
    std::size_t next = 0;
    writer.writeU16(std::uint16_t(file.counters.size()));
    for (const AchievementFile::Counter& counter : file.counters) {
        writer.writeU16(indices[next++]);
        writer.writeU8(counter.mode);
        writer.writeU8(counter.storeStat ? 1 : 0);
    }
    writer.writeU16(std::uint16_t(file.achievements.size()));
    for (const AchievementFile::Entry& entry : file.achievements) {
        writer.writeU16(indices[next++]);
        writer.writeU16(indices[next++]);
        writer.writeS32(entry.threshold);
    }

    std::vector<std::uint8_t> bytes(writer.data().get(), writer.data().get() + writer.size());
    scrambleAchievementBytes(bytes.data(), bytes.size());
    return bytes;
}

} // namespace zor
