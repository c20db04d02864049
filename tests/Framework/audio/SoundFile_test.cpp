#include "Framework/audio/OggFile.h"
#include "Framework/audio/SoundFile.h"
#include "Framework/audio/WavFile.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <AL/al.h>
#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "tests/Framework/audio/SoundTestData.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

class SoundFileTest : public ::testing::Test {
protected:
    SoundFileTest() : m_user("ZOR_USER_DIR", m_userFolder.path().string()) { initFileSystem(m_gameData.path().string()); }

    void writeGameFile(const std::string& name, const std::string& bytes) { m_gameData.write(name, bytes); }

    static std::string bytesOf(const ByteArray& buffer, std::size_t count) {
        return std::string(reinterpret_cast<const char*>(buffer.get()), count);
    }

    test::TempFolder m_gameData;
    test::TempFolder m_userFolder;
    test::ScopedEnv m_user;
};

TEST_F(SoundFileTest, WavHeadersThatOpenGiveTheirFormat) {
    struct Case {
        const char* name;
        std::uint32_t channels;
        std::uint32_t bits;
        std::uint32_t fmtSize;
        std::uint32_t format;
    };
    const Case cases[] = {
        {"8-bit mono", 1, 8, 16, AL_FORMAT_MONO8},
        {"16-bit mono", 1, 16, 16, AL_FORMAT_MONO16},
        {"8-bit stereo", 2, 8, 16, AL_FORMAT_STEREO8},
        {"16-bit stereo", 2, 16, 16, AL_FORMAT_STEREO16},
        // The two extra bytes of the cbSize field are skipped.
        {"18-byte fmt chunk", 2, 16, 18, AL_FORMAT_STEREO16},
    };
    for (const Case& c : cases) {
        test::WavSpec spec;
        spec.channels = c.channels;
        spec.bits = c.bits;
        spec.fmtSize = c.fmtSize;
        spec.rate = 11025;
        spec.pcm = test::countingBytes(c.channels * c.bits / 8 * 100);
        writeGameFile("Audio/Sounds/case.wav", test::wavBytes(spec));

        WavFile file;
        ASSERT_TRUE(file.open("Audio/Sounds/case.wav")) << c.name;
        EXPECT_TRUE(file.isOpen());
        EXPECT_EQ(file.path(), "Audio/Sounds/case.wav");
        EXPECT_EQ(file.format(), c.format) << c.name;
        EXPECT_EQ(file.blockAlign(), c.channels * c.bits / 8) << c.name;
        EXPECT_EQ(file.frequency(), 11025u);
        EXPECT_EQ(file.dataSize(), spec.pcm.size());
        ByteArray data;
        ASSERT_EQ(file.read(std::uint32_t(file.dataSize()), false, data), spec.pcm.size()) << c.name;
        EXPECT_EQ(bytesOf(data, spec.pcm.size()), spec.pcm) << c.name;
    }
}

// Headers are untrusted: each of these must fail to open instead of handing wrong facts
// (a zero block alignment, a data size beyond the file) to the readers.
TEST_F(SoundFileTest, WavHeadersThatDoNotOpen) {
    struct Case {
        const char* name;
        void (*change)(test::WavSpec&);
    };
    const Case cases[] = {
        {"not RIFF", [](test::WavSpec& s) { s.riff = "RIFX"; }},
        {"not WAVE", [](test::WavSpec& s) { s.wave = "AVI "; }},
        {"fmt is not the first chunk", [](test::WavSpec& s) { s.fmtId = "LIST"; }},
        {"fmt chunk shorter than 16", [](test::WavSpec& s) { s.fmtSize = 14; }},
        {"not PCM", [](test::WavSpec& s) { s.audioFormat = 3; }},
        {"24 bits", [](test::WavSpec& s) { s.bits = 24; }},
        {"4 channels", [](test::WavSpec& s) { s.channels = 4; }},
        {"no channels", [](test::WavSpec& s) { s.channels = 0; }},
        {"block alignment 0", [](test::WavSpec& s) { s.blockAlign = 0; }},
        {"block alignment not the frame size", [](test::WavSpec& s) { s.blockAlign = 3; }},
        {"a LIST chunk before the data", [](test::WavSpec& s) { s.betweenChunks = std::string("LIST\4\0\0\0INFO"); }},
        {"data chunk missing", [](test::WavSpec& s) { s.dataId = "fact"; }},
        {"data size beyond the file", [](test::WavSpec& s) { s.dataSizeField = std::int64_t(s.pcm.size()) + 1; }},
        {"data size of 1 GiB", [](test::WavSpec& s) { s.dataSizeField = 0x40000000; }},
    };
    for (const Case& c : cases) {
        test::WavSpec spec;
        spec.pcm = test::countingBytes(64);
        c.change(spec);
        writeGameFile("bad.wav", test::wavBytes(spec));
        WavFile file;
        EXPECT_FALSE(file.open("bad.wav")) << c.name;
        EXPECT_FALSE(file.isOpen()) << c.name;
        EXPECT_EQ(file.path(), "") << c.name;
    }
    // Cut inside the 36-byte block and inside the data chunk header.
    const std::string valid = test::toneWav(440.0, 0.01);
    for (std::size_t length : {std::size_t(0), std::size_t(20), std::size_t(40)}) {
        writeGameFile("short.wav", valid.substr(0, length));
        WavFile file;
        EXPECT_FALSE(file.open("short.wav")) << length;
    }
    WavFile missing;
    EXPECT_FALSE(missing.open("absent.wav"));
}

TEST_F(SoundFileTest, OpenSoundFileChoosesTheKindByTheExactExtension) {
    const std::string wav = test::toneWav(440.0, 0.05);
    for (const char* name : {"a.wav", "a.WAV", "a.wave", "a", "a.ogg"}) {
        writeGameFile(name, wav);
    }
    EXPECT_NE(dynamic_cast<WavFile*>(openSoundFile("a.wav").get()), nullptr);
    EXPECT_EQ(openSoundFile("a.WAV"), nullptr);
    EXPECT_EQ(openSoundFile("a.wave"), nullptr);
    EXPECT_EQ(openSoundFile("a"), nullptr);
    // The kind comes from the name: WAV bytes do not open as Ogg Vorbis.
    EXPECT_EQ(openSoundFile("a.ogg"), nullptr);
    EXPECT_EQ(openSoundFile("absent.wav"), nullptr);
}

// Reading 1000 bytes with 600 left: 600 without looping; with looping 1000, the last 400
// from the start of the sound. Both kinds share the reading; each is checked.
TEST_F(SoundFileTest, ReadsStopAtTheEndOrWrapAroundWhenLooping) {
    test::WavSpec spec;
    spec.pcm = test::countingBytes(1600);
    writeGameFile("counting.wav", test::wavBytes(spec));
    writeGameFile("tone.ogg", test::oggBytes(1, 22050, 800, 7));

    for (const char* name : {"counting.wav", "tone.ogg"}) {
        const std::shared_ptr<SoundFile> file = openSoundFile(name);
        ASSERT_NE(file, nullptr) << name;
        ASSERT_EQ(file->dataSize(), 1600u) << name;
        ByteArray whole;
        ASSERT_EQ(file->read(1600, false, whole), 1600u) << name;
        file->rewind();

        ByteArray buffer(new std::uint8_t[1000]);
        ASSERT_EQ(file->read(1000, false, buffer), 1000u) << name;
        EXPECT_EQ(bytesOf(buffer, 1000), bytesOf(whole, 1000)) << name;
        EXPECT_EQ(file->read(1000, false, buffer), 600u) << name;
        EXPECT_EQ(bytesOf(buffer, 600), bytesOf(whole, 1600).substr(1000)) << name;
        EXPECT_EQ(file->read(1000, false, buffer), 0u) << name;

        file->rewind();
        ASSERT_EQ(file->read(1000, false, buffer), 1000u);
        ASSERT_EQ(file->read(1000, true, buffer), 1000u) << name;
        EXPECT_EQ(bytesOf(buffer, 600), bytesOf(whole, 1600).substr(1000)) << name;
        EXPECT_EQ(bytesOf(buffer, 1000).substr(600), bytesOf(whole, 400)) << name;
        // The wrap-around left the stream 400 bytes in.
        ASSERT_EQ(file->read(200, false, buffer), 200u);
        EXPECT_EQ(bytesOf(buffer, 200), bytesOf(whole, 600).substr(400)) << name;
    }
}

TEST_F(SoundFileTest, AnOggFileThatClaimsMoreThanItHoldsRewindsToItsStartAgain) {
    // Its last pages say the sound runs far longer than their packets do.
    writeGameFile("claims.ogg", test::oggBytes(2, 22050, 40000, 5, 500000));
    OggFile file;
    ASSERT_TRUE(file.open("claims.ogg"));
    ASSERT_GT(file.dataSize(), 40000u * 4);
    ByteArray first;
    const std::uint32_t held = file.read(std::uint32_t(file.dataSize()), false, first);
    ASSERT_LT(held, file.dataSize());
    ASSERT_GT(held, 10000u);
    for (int round = 0; round < 3; ++round) {
        file.rewind();
        // Read in pieces of other sizes than the first time, as the music thread does.
        ByteArray again(new std::uint8_t[held]);
        std::uint32_t total = 0;
        for (std::uint32_t piece = 1237; total < held;) {
            ByteArray part;
            const std::uint32_t got = file.read(std::min(piece, held - total), false, part);
            if (got == 0) break;
            std::memcpy(again.get() + total, part.get(), got);
            total += got;
        }
        EXPECT_EQ(total, held) << round;
        EXPECT_EQ(bytesOf(again, total), bytesOf(first, held)) << round;
    }
}

TEST_F(SoundFileTest, ReadAllocatesTheBufferWhenItHasNone) {
    test::WavSpec spec;
    spec.pcm = test::countingBytes(300);
    writeGameFile("s.wav", test::wavBytes(spec));
    WavFile file;
    ASSERT_TRUE(file.open("s.wav"));
    ByteArray buffer;
    EXPECT_EQ(file.read(1000, false, buffer), 300u);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(bytesOf(buffer, 300), spec.pcm);
}

// An empty sound would rewind and read nothing for ever.
TEST_F(SoundFileTest, LoopingReadOfAnEmptySoundEnds) {
    writeGameFile("empty.wav", test::wavBytes(test::WavSpec()));
    WavFile file;
    ASSERT_TRUE(file.open("empty.wav"));
    EXPECT_EQ(file.dataSize(), 0u);
    ByteArray buffer;
    EXPECT_EQ(file.read(4096, true, buffer), 0u);
}

TEST_F(SoundFileTest, CloseForgetsTheFile) {
    writeGameFile("s.wav", test::toneWav(440.0, 0.05));
    WavFile file;
    ASSERT_TRUE(file.open("s.wav"));
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.path(), "");
    ByteArray buffer(new std::uint8_t[64]);
    EXPECT_EQ(file.read(64, true, buffer), 0u);
}

TEST_F(SoundFileTest, OggFilesGiveSixteenBitFormats) {
    writeGameFile("mono.ogg", test::oggBytes(1, 22050, 5000, 1));
    writeGameFile("stereo.ogg", test::oggBytes(2, 44100, 5000, 2));
    struct Case {
        const char* name;
        std::uint32_t format;
        std::uint32_t blockAlign;
        std::uint32_t frequency;
    };
    for (const Case& c : {Case{"mono.ogg", AL_FORMAT_MONO16, 2, 22050}, Case{"stereo.ogg", AL_FORMAT_STEREO16, 4, 44100}}) {
        OggFile file;
        ASSERT_TRUE(file.open(c.name)) << c.name;
        EXPECT_EQ(file.format(), c.format) << c.name;
        EXPECT_EQ(file.blockAlign(), c.blockAlign) << c.name;
        EXPECT_EQ(file.frequency(), c.frequency) << c.name;
        EXPECT_EQ(file.dataSize(), 5000u * c.blockAlign) << c.name;
        ByteArray data;
        EXPECT_EQ(file.read(std::uint32_t(file.dataSize()), false, data), file.dataSize()) << c.name;
    }
}

TEST_F(SoundFileTest, OggFilesThatDoNotOpen) {
    // Two logical streams one after the other (a chained file).
    writeGameFile("chained.ogg", test::oggBytes(1, 22050, 3000, 1) + test::oggBytes(1, 22050, 3000, 2));
    writeGameFile("three.ogg", test::oggBytes(3, 22050, 3000, 1));
    writeGameFile("garbage.ogg", test::countingBytes(4000));
    writeGameFile("cut.ogg", test::oggBytes(1, 22050, 3000, 1).substr(0, 40));
    for (const char* name : {"chained.ogg", "three.ogg", "garbage.ogg", "cut.ogg", "absent.ogg"}) {
        OggFile file;
        EXPECT_FALSE(file.open(name)) << name;
        EXPECT_FALSE(file.isOpen()) << name;
    }
}

// A long track decodes to more than 4 GiB of PCM; its length must not wrap at 32 bits.
TEST_F(SoundFileTest, OggLengthBeyondFourGigabytesIsKept) {
    const std::int64_t jump = 0x90000000LL;
    writeGameFile("long.ogg", test::oggBytes(1, 22050, 3000, 1, jump));
    OggFile file;
    ASSERT_TRUE(file.open("long.ogg"));
    EXPECT_EQ(file.dataSize(), std::uint64_t(3000 + jump) * 2);
}

} // namespace
} // namespace zor
