#include "Framework/audio/SoundFile.h"

#include "Framework/audio/OggFile.h"
#include "Framework/audio/WavFile.h"
#include "Framework/core/text/TextUtils.h"

#include <algorithm>

namespace zor {

std::uint32_t SoundFile::read(std::uint32_t bytes, bool loop, ByteArray& buffer) {
    if (!loop) {
        bytes = std::uint32_t(std::min<std::uint64_t>(bytes, m_remaining));
    }
    if (!buffer) {
        buffer.reset(new std::uint8_t[bytes]);
    }
    std::uint32_t total = 0;
    while (bytes > 0) {
        if (m_remaining == 0 && loop) {
            rewind();
            if (m_remaining == 0) {
                // An empty sound would rewind for ever.
                break;
            }
        }
        const std::uint32_t length = std::uint32_t(std::min<std::uint64_t>(bytes, m_remaining));
        const std::uint32_t count = readBytes(buffer.get() + total, length);
        m_remaining -= count;
        total += count;
        bytes -= count;
        if (count < length) {
            break;
        }
    }
    return total;
}

void SoundFile::clearFacts() {
    m_path.clear();
    m_dataSize = m_remaining = 0;
    m_frequency = m_blockAlign = m_format = 0;
}

std::shared_ptr<SoundFile> openSoundFile(const std::string& path) {
    const std::string extension = extensionOf(path);
    std::shared_ptr<SoundFile> file;
    if (extension == "wav") {
        file = std::make_shared<WavFile>();
    } else if (extension == "ogg") {
        file = std::make_shared<OggFile>();
    }
    if (file && !file->open(path)) {
        file.reset();
    }
    return file;
}

} // namespace zor
