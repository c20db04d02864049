#pragma once
// A readable stream of raw PCM sound with what OpenAL needs to play it. Effects are read
// whole at start-up; the music thread reads its track in chunks, wrapping around to the
// start when it loops. Files are shared: the music thread keeps its track's file until
// another one replaces it.

#include "Framework/core/io/ByteArray.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zor {

class SoundFile {
public:
    SoundFile() = default;
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;
    virtual ~SoundFile() = default;

    // Opens a file of the game data folder, closing any open one first. False when it
    // is missing or its layout is not supported; no exception leaves here.
    virtual bool open(const std::string& path) = 0;
    virtual bool isOpen() const = 0;
    // Back to the first PCM byte.
    virtual void rewind() = 0;
    virtual void close() = 0;

    // Reads up to `bytes` PCM bytes into `buffer`, allocating an array of `bytes` bytes
    // when it holds none (a caller may pass a larger array of its own). Without `loop` the
    // read stops at the end of the sound; with it the sound wraps around to its start.
    // A count below `bytes` means the sound ended or could not be read further.
    std::uint32_t read(std::uint32_t bytes, bool loop, ByteArray& buffer);

    // The path given to open, empty while closed.
    const std::string& path() const { return m_path; }
    // PCM bytes of the whole sound. 64 bits: a long compressed track can decode to more
    // than 4 GiB.
    std::uint64_t dataSize() const { return m_dataSize; }
    std::uint32_t frequency() const { return m_frequency; }
    // Bytes per sample frame (channels x bytes per sample); never 0 for an open file.
    std::uint32_t blockAlign() const { return m_blockAlign; }
    // AL_FORMAT_MONO8, _MONO16, _STEREO8 or _STEREO16; 0 when unknown.
    std::uint32_t format() const { return m_format; }

protected:
    // Reads up to `length` bytes of the stream at its current place into `destination`
    // and returns the count; fewer than asked means the stream ended or failed.
    virtual std::uint32_t readBytes(std::uint8_t* destination, std::uint32_t length) = 0;
    // Forgets the path and the facts of a closed file.
    void clearFacts();

    std::string m_path;
    std::uint64_t m_dataSize = 0;
    std::uint32_t m_frequency = 0;
    std::uint32_t m_blockAlign = 0;
    std::uint32_t m_format = 0;
    // PCM bytes left before the end of the sound.
    std::uint64_t m_remaining = 0;
};

// A WavFile for the extension "wav", an OggFile for "ogg" (exact spelling), opened; empty
// for any other extension and for a file that does not open.
std::shared_ptr<SoundFile> openSoundFile(const std::string& path);

} // namespace zor
