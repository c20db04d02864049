#include "Framework/audio/WavFile.h"

#include "Framework/core/io/Files.h"

#include <AL/al.h>

#include <cstring>

namespace zor {

namespace {

// Data sizes from here on are refused outright.
constexpr std::uint32_t kDataSizeLimit = 0x40000000;

std::uint32_t readU16(const std::uint8_t* bytes) { return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8; }

std::uint32_t readU32(const std::uint8_t* bytes) { return readU16(bytes) | readU16(bytes + 2) << 16; }

std::uint32_t alFormatOf(std::uint32_t channels, std::uint32_t bits) {
    if (channels == 1) {
        return bits == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    }
    return bits == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

} // namespace

WavFile::~WavFile() { close(); }

bool WavFile::open(const std::string& path) {
    close();
    m_path = path;
    m_file = std::fopen(gamePath(path).c_str(), "rb");
    if (!m_file || !readHeader()) {
        close();
        return false;
    }
    return true;
}

bool WavFile::readHeader() {
    std::uint8_t header[36];
    if (std::fread(header, 1, sizeof header, m_file) != sizeof header) {
        return false;
    }
    const std::uint32_t fmtSize = readU32(header + 16);
    const std::uint32_t channels = readU16(header + 22);
    const std::uint32_t bits = readU16(header + 34);
    const std::uint32_t blockAlign = readU16(header + 32);
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0 ||
        std::memcmp(header + 12, "fmt ", 4) != 0 || fmtSize < 16 || readU16(header + 20) != 1 ||
        (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) {
        return false;
    }
    // The streaming code cuts its reads to whole frames by this value, so it must be the
    // true frame size (and never 0).
    if (blockAlign != channels * bits / 8) {
        return false;
    }
    if (std::fseek(m_file, long(fmtSize - 16), SEEK_CUR) != 0) {
        return false;
    }
    std::uint8_t chunk[8];
    if (std::fread(chunk, 1, sizeof chunk, m_file) != sizeof chunk || std::memcmp(chunk, "data", 4) != 0) {
        return false;
    }
    const std::uint32_t dataSize = readU32(chunk + 4);
    const long dataOffset = std::ftell(m_file);
    // A size beyond the end of the file would have readers allocate for bytes that are
    // not there.
    if (dataSize >= kDataSizeLimit || dataOffset < 0 || std::fseek(m_file, 0, SEEK_END) != 0) {
        return false;
    }
    const long fileSize = std::ftell(m_file);
    if (fileSize < dataOffset || std::uint64_t(fileSize - dataOffset) < dataSize ||
        std::fseek(m_file, dataOffset, SEEK_SET) != 0) {
        return false;
    }
    m_frequency = readU32(header + 24);
    m_blockAlign = blockAlign;
    m_format = alFormatOf(channels, bits);
    m_dataSize = m_remaining = dataSize;
    m_dataOffset = dataOffset;
    return true;
}

std::uint32_t WavFile::readBytes(std::uint8_t* destination, std::uint32_t length) {
    return std::uint32_t(std::fread(destination, 1, length, m_file));
}

void WavFile::rewind() {
    if (m_file) {
        m_remaining = m_dataSize;
        std::fseek(m_file, m_dataOffset, SEEK_SET);
    }
}

void WavFile::close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    clearFacts();
}

} // namespace zor
