#pragma once
// The OpenGL context of the "gl" tests: one hidden SDL window with an OpenGL 2.1
// compatibility context for the whole test program, made on first use on the calling
// thread, which becomes the render thread. GLTest also points the game data root at
// "BundlePC" (tests run in the build folder) and hands the render thread a pumped queue.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Framework/core/threads/WorkQueue.h"

namespace zor {
class RenderTarget;
}

namespace zor::test {

struct Pixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};
inline bool operator==(const Pixel& x, const Pixel& y) {
    return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}
void PrintTo(const Pixel& pixel, std::ostream* out);
// Each channel within `tolerance` of the other's.
bool nearPixel(const Pixel& x, const Pixel& y, int tolerance);

class GLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The queue standing in for the main loop's pumped work queue.
    static PumpedWorkQueue& renderQueue();
    static void pumpRenderQueue() { renderQueue().pump(); }

    // Binds the target's framebuffer with a GL viewport of its size.
    static void bindTarget(const RenderTarget& target);
    // Makes the screen's one viewport the target's size at scale 1, so batches that set
    // the screen projection draw in the target's pixels, y from the top.
    static void useTargetAsScreen(const RenderTarget& target);
    // The same, with content laid out in the given virtual size and scaled to the target.
    static void useTargetAsScreen(const RenderTarget& target, float virtualWidth, float virtualHeight);
    // Pixels of a rectangle of the target, rows bottom to top as OpenGL counts them.
    static std::vector<Pixel> readPixels(const RenderTarget& target, int x, int y, int width, int height);
    // One pixel, with y counted from the top as the batches draw.
    static Pixel pixelAt(const RenderTarget& target, int x, int yFromTop);
    // The program's performance overlay lines "dcall: n" and " tris: n" for the draw
    // calls counted since the previous call; the counts start again afterwards.
    static std::pair<std::string, std::string> takeDrawCounts();
};

} // namespace zor::test
