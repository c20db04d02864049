// Opens arbitrary bytes as an Ogg Vorbis file. A file that opens must be mono or stereo
// 16-bit sound whose frame divides the music thread's chunk, and reading it, straight or
// looping, must end.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_ogg_file
//   build-fuzz/fuzz/fuzz_ogg_file -max_total_time=60 build-fuzz/fuzz/corpus/ogg_file

#include "Framework/audio/OggFile.h"
#include "fuzz/support/FuzzFolders.h"

#include <AL/al.h>

#include <cstdint>

namespace {

// What the music thread reads at once.
constexpr std::uint32_t Chunk = 58800;
// Damaged headers may claim hours of sound: only this much is decoded.
constexpr std::uint32_t MostBytesRead = 16 * Chunk;

} // namespace

// libvorbisfile 1.3.7 itself loses 8 bytes when ov_fopen refuses some damaged files (also
// when ov_clear follows); the game can do nothing about it. The fast unwinder sees no
// further than the library's own frame, so the library is named: a decoder the game forgot
// to clear would go unreported here too, which the close of every opened file above rules
// out.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    zor::fuzz::writeInput(zor::FileLocation::GameData, "input.ogg", data, size);
    zor::OggFile file;
    if (!file.open("input.ogg")) {
        check(!file.isOpen() && file.path().empty());
        return 0;
    }
    check(file.blockAlign() == 2 || file.blockAlign() == 4);
    check(Chunk % file.blockAlign() == 0);
    check(file.format() == AL_FORMAT_MONO16 || file.format() == AL_FORMAT_STEREO16);
    check(file.frequency() > 0);

    zor::ByteArray buffer(new std::uint8_t[Chunk]);
    std::uint64_t total = 0;
    for (std::uint32_t got = Chunk; got == Chunk && total < MostBytesRead;) {
        got = file.read(Chunk, false, buffer);
        check(got <= Chunk);
        total += got;
    }
    file.rewind();
    for (std::uint32_t reads = 0; reads < 4; ++reads) check(file.read(Chunk, true, buffer) <= Chunk);
    file.close();
    check(!file.isOpen());
    return 0;
}
