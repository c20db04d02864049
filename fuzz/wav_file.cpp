// Opens arbitrary bytes as a WAV file. A file that opens must hold what its header
// claims: a frame size that divides the music thread's chunk, a data size within the
// file, a whole read of exactly that size, and looping reads that end.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_wav_file
//   build-fuzz/fuzz/fuzz_wav_file -max_total_time=30

#include "Framework/audio/WavFile.h"
#include "Framework/core/io/Files.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The game data folder of this process, made once.
const std::string& gameDataFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/zor-fuzz-wav-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        static std::string user = std::string(pattern) + "/user";
        setenv("ZOR_USER_DIR", user.c_str(), 1);
        zor::initFileSystem(pattern);
        return std::string(pattern);
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = gameDataFolder() + "/input.wav";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0) std::abort();

    zor::WavFile file;
    if (!file.open("input.wav")) {
        if (file.isOpen() || !file.path().empty()) std::abort();
        return 0;
    }
    const std::uint32_t frame = file.blockAlign();
    if (frame != 1 && frame != 2 && frame != 4) std::abort();
    if (58800 % frame != 0 || file.format() < 0x1100 || file.format() > 0x1103) std::abort();
    if (file.dataSize() + 44 > size) std::abort();

    zor::ByteArray whole;
    const std::uint32_t length = std::uint32_t(file.dataSize());
    if (file.read(length, false, whole) != length) std::abort();
    if (file.read(16, false, whole) != 0) std::abort();

    // Looping reads wrap around; on an empty sound they end with nothing.
    zor::ByteArray looped(new std::uint8_t[3 * length + 64]);
    const std::uint32_t wanted = 2 * length + 64;
    const std::uint32_t got = file.read(wanted, true, looped);
    if (got != (length == 0 ? 0 : wanted)) std::abort();
    if (length > 0 && std::memcmp(looped.get(), whole.get(), std::min<std::uint32_t>(length, 64)) != 0) std::abort();
    return 0;
}
