#pragma once
// Ogg Vorbis sound decoded with libvorbisfile into signed 16-bit little-endian samples;
// one logical stream, mono or stereo.

#include "Framework/audio/SoundFile.h"

#include <memory>

struct OggVorbis_File;

namespace zor {

class OggFile : public SoundFile {
public:
    OggFile();
    ~OggFile() override;

    bool open(const std::string& path) override;
    bool isOpen() const override { return m_isOpen; }
    // Opens the file again; it is closed when that fails.
    void rewind() override;
    void close() override;

protected:
    std::uint32_t readBytes(std::uint8_t* destination, std::uint32_t length) override;

private:
    bool m_isOpen = false;
    std::unique_ptr<OggVorbis_File> m_decoder;
};

} // namespace zor
