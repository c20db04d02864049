// Word wrapping of a 500-character paragraph with the sample data's medium font (from the
// build's "BundlePC", wherever the program runs), as the in-game screens lay out their
// longer texts, and drawing it into a batch. Every row counts glyphs (ns_per_glyph); the
// raw-quad row queues as many unrotated quads straight into a batch, to compare wrap plus
// draw with.
#include "Framework/core/io/Files.h"
#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/text/TextMesh.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr zor::PackedColor kWhite(0xFFFFFFFFu);

std::string paragraph() {
    const std::string sentence = "The lamp flickers as the cart rolls deeper into the old copper seam below Harrowgate. ";
    std::string text;
    while (text.size() < 500) text += sentence;
    return text.substr(0, 500);
}

const zor::Font& mediumFont() {
    static zor::FontSet* fonts = [] {
        zor::initFileSystem(ZOR_BENCH_BUNDLE_DIR);
        auto* set = new zor::FontSet;
        set->load("Fonts");
        return set;
    }();
    return fonts->require("medium");
}

// Metrics stay in art pixels (three per layout unit): a box a third of the screen wide,
// tall enough for the whole paragraph.
const zor::fpRect kBox(0, 0, 640, 4000);

zor::TextMeshPtr wrap(const zor::Font& font, const std::string& text) {
    return zor::Font::buildWrappedText(nullptr, font, text, kBox, zor::CompassAnchor::NorthWest, 0);
}

void countGlyphs(benchmark::State& state, std::size_t glyphs) {
    state.SetItemsProcessed(state.iterations() * std::int64_t(glyphs));
    state.counters["ns_per_glyph"] = benchmark::Counter(double(glyphs) * 1e-9,
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}

void wrapParagraph(benchmark::State& state) {
    const zor::Font& font = mediumFont();
    const std::string text = paragraph();
    std::size_t glyphs = 0;
    for (auto _ : state) {
        const zor::TextMeshPtr mesh = wrap(font, text);
        glyphs = mesh->quads.size();
        benchmark::DoNotOptimize(mesh.get());
    }
    countGlyphs(state, glyphs);
}
BENCHMARK(wrapParagraph);

void drawParagraph(benchmark::State& state) {
    const zor::TextMeshPtr mesh = wrap(mediumFont(), paragraph());
    zor::CommonBatch batch(1024, 0.0f);
    for (auto _ : state) {
        mesh->draw(batch, kWhite, zor::fpMatrix4());
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    countGlyphs(state, mesh->quads.size());
}
BENCHMARK(drawParagraph);

void wrapAndDrawParagraph(benchmark::State& state) {
    const zor::Font& font = mediumFont();
    const std::string text = paragraph();
    zor::CommonBatch batch(1024, 0.0f);
    std::size_t glyphs = 0;
    for (auto _ : state) {
        const zor::TextMeshPtr mesh = wrap(font, text);
        mesh->draw(batch, kWhite, zor::fpMatrix4());
        glyphs = mesh->quads.size();
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    countGlyphs(state, glyphs);
}
BENCHMARK(wrapAndDrawParagraph);

void rawQuad(benchmark::State& state) {
    const std::size_t glyphs = wrap(mediumFont(), paragraph())->quads.size();
    const auto texture = zor::test::fakeTexture(1, 256, 256);
    zor::CommonBatch batch(1024, 0.0f);
    const zor::fpRect source(32, 32, 16, 16);
    for (auto _ : state) {
        for (std::size_t i = 0; i < glyphs; ++i) {
            const float x = static_cast<float>(i % 64) * 10.0f;
            const float y = static_cast<float>(i / 64) * 10.0f;
            batch.drawPlaced(*texture, zor::makeAffine2D(x, y, 0.0f, 1.0f, 1.0f, 0.0f), source, {}, kWhite, 0);
        }
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    countGlyphs(state, glyphs);
}
BENCHMARK(rawQuad);

// Pages of four lines with a continuation marker, until the text is used up (four pages);
// counted per glyph of all pages, markers included. (Every row has the same counters: the
// CSV output requires it.)
void pageParagraph(benchmark::State& state) {
    const zor::Font& font = mediumFont();
    const std::string text = paragraph();
    const zor::fpRect box(0, 0, 640, 4.5f * float(font.lineHeight));
    std::size_t glyphs = 0;
    for (auto _ : state) {
        std::string rest = text;
        glyphs = 0;
        while (!rest.empty()) {
            std::string marker = "...";
            const zor::TextMeshPtr page =
                zor::Font::buildWrappedText(&marker, font, rest, box, zor::CompassAnchor::NorthWest, 0);
            glyphs += page->quads.size();
            benchmark::DoNotOptimize(page.get());
            rest = marker;
        }
    }
    countGlyphs(state, glyphs);
}
BENCHMARK(pageParagraph);

} // namespace
