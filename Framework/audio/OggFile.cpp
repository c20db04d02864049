#include "Framework/audio/OggFile.h"

#include "Framework/core/io/Files.h"

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>

namespace zor {

OggFile::OggFile() : m_decoder(std::make_unique<OggVorbis_File>()) {}

OggFile::~OggFile() { close(); }

bool OggFile::open(const std::string& path) {
    close();
    if (ov_fopen(gamePath(path).c_str(), m_decoder.get()) != 0) {
        return false;
    }
    const vorbis_info* info = ov_info(m_decoder.get(), -1);
    const ogg_int64_t frames = ov_pcm_total(m_decoder.get(), -1);
    if (!info || (info->channels != 1 && info->channels != 2) || ov_streams(m_decoder.get()) != 1 || frames < 0) {
        ov_clear(m_decoder.get());
        return false;
    }
    m_isOpen = true;
    m_path = path;
    m_blockAlign = std::uint32_t(info->channels) * 2;
    m_format = info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    m_frequency = std::uint32_t(info->rate);
    m_dataSize = m_remaining = std::uint64_t(frames) * m_blockAlign;
    return true;
}

std::uint32_t OggFile::readBytes(std::uint8_t* destination, std::uint32_t length) {
    // The decoder hands out at most one packet per call, so a short count alone does not
    // mean the end: only 0 bytes (end of stream) or an error does.
    std::uint32_t total = 0;
    while (total < length) {
        const int ask = int(std::min<std::uint32_t>(length - total, INT_MAX));
        const long count = ov_read(m_decoder.get(), reinterpret_cast<char*>(destination + total), ask, 0, 2, 1, nullptr);
        if (count <= 0) {
            break;
        }
        total += std::uint32_t(count);
    }
    return total;
}

void OggFile::rewind() {
    // Opened again rather than sought: after a damaged stream (one whose pages claim more
    // sound than they hold) libvorbisfile's seek leaves libogg to write outside its buffer
    // on the next read. A file that no longer opens stays closed, so reads end.
    if (m_isOpen) {
        const std::string path = m_path;
        open(path);
    }
}

void OggFile::close() {
    if (m_isOpen) {
        m_isOpen = false;
        ov_clear(m_decoder.get());
    }
    clearFacts();
}

} // namespace zor
