// Word wrapping of a 500-character paragraph with the sample data's medium font, as the
// in-game screens lay out their longer texts.
#include "Framework/core/io/Files.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/text/TextMesh.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string paragraph() {
    const std::string sentence = "The lamp flickers as the cart rolls deeper into the old copper seam below Harrowgate. ";
    std::string text;
    while (text.size() < 500) text += sentence;
    return text.substr(0, 500);
}

void wrapParagraph(benchmark::State& state) {
    zor::initFileSystem("BundlePC");
    zor::FontSet fonts;
    fonts.load("Fonts");
    const zor::Font& font = fonts.require("medium");
    const std::string text = paragraph();
    // Metrics stay in art pixels (three per layout unit): a box a third of the screen wide,
    // tall enough for the whole paragraph.
    const zor::fpRect box(0, 0, 640, 4000);
    std::size_t quads = 0;
    for (auto _ : state) {
        const zor::TextMeshPtr mesh = zor::Font::buildWrappedText(nullptr, font, text, box, zor::CompassAnchor::NorthWest, 0);
        quads = mesh->quads.size();
        benchmark::DoNotOptimize(mesh.get());
    }
    state.counters["glyphs"] = double(quads);
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(wrapParagraph);

void pageParagraph(benchmark::State& state) {
    zor::initFileSystem("BundlePC");
    zor::FontSet fonts;
    fonts.load("Fonts");
    const zor::Font& font = fonts.require("medium");
    const std::string text = paragraph();
    // Pages of four lines with a continuation marker, until the text is used up.
    const zor::fpRect box(0, 0, 640, 4.5f * float(font.lineHeight));
    int pages = 0;
    for (auto _ : state) {
        std::string rest = text;
        pages = 0;
        while (!rest.empty()) {
            std::string marker = "...";
            benchmark::DoNotOptimize(zor::Font::buildWrappedText(&marker, font, rest, box, zor::CompassAnchor::NorthWest, 0).get());
            rest = marker;
            ++pages;
        }
    }
    state.counters["pages"] = pages;
}
BENCHMARK(pageParagraph);

} // namespace
