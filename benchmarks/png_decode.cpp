// Decoding and premultiplying a 2048 x 2048 RGBA PNG, the largest texture size the
// program relies on, as a texture load does it on the loading thread.
#include "Framework/graphics/texture/PngDecoder.h"
#include "Framework/graphics/texture/Premultiply.h"
#include "tests/Framework/graphics/texture/PngFixtures.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kSide = 2048;

// Smooth gradients with a little noise and varying alpha: compresses like painted art.
std::vector<std::uint8_t> artLikeFile() {
    zor::test::PngSpec spec(kSide, kSide, PNG_COLOR_TYPE_RGBA, 8, {});
    spec.data.resize(std::size_t(kSide) * kSide * 4);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            noise = noise * 1664525u + 1013904223u;
            std::uint8_t* p = &spec.data[(std::size_t(y) * kSide + x) * 4];
            p[0] = static_cast<std::uint8_t>(x / 8 + (noise >> 29));
            p[1] = static_cast<std::uint8_t>(y / 8 + (noise >> 30));
            p[2] = static_cast<std::uint8_t>((x + y) / 16);
            p[3] = static_cast<std::uint8_t>((x / 64) % 2 ? 255 : (y / 8) % 256);
        }
    }
    return zor::test::writePng(spec);
}

void BM_DecodeAndPremultiply2048(benchmark::State& state) {
    const std::vector<std::uint8_t> file = artLikeFile();
    for (auto _ : state) {
        zor::DecodedImage image;
        std::string error;
        if (!zor::decodePNG(file.data(), file.size(), image, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        zor::premultiplyAlpha(image.pixels->data(), std::size_t(kSide) * kSide);
        benchmark::DoNotOptimize(image.pixels->data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kSide) * kSide * 4);
    state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_Premultiply2048(benchmark::State& state) {
    std::vector<std::uint8_t> pixels(std::size_t(kSide) * kSide * 4, 0x80);
    for (auto _ : state) {
        zor::premultiplyAlpha(pixels.data(), std::size_t(kSide) * kSide);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kSide) * kSide * 4);
}

} // namespace

BENCHMARK(BM_DecodeAndPremultiply2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Premultiply2048)->Unit(benchmark::kMillisecond);
