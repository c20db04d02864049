#pragma once
// Uncompressed RIFF/WAVE sound: 8- or 16-bit PCM, mono or stereo, the "data" chunk right
// after the "fmt " chunk. The header is untrusted input: a file that does not hold what
// its header claims does not open.

#include "Framework/audio/SoundFile.h"

#include <cstdio>

namespace zor {

class WavFile : public SoundFile {
public:
    WavFile() = default;
    ~WavFile() override;

    bool open(const std::string& path) override;
    bool isOpen() const override { return m_file != nullptr; }
    void rewind() override;
    void close() override;

protected:
    std::uint32_t readBytes(std::uint8_t* destination, std::uint32_t length) override;

private:
    bool readHeader();

    std::FILE* m_file = nullptr;
    long m_dataOffset = 0;
};

} // namespace zor
