#pragma once
// Capture mode's recorder of stereo image sequences. On every second displayed frame it
// renders the first viewport once more for each eye, reads the pixels back and hands
// each image to the capture worker, which writes "Captures/left<n>.tga" and
// "Captures/right<n>.tga" in the user folder, n carrying on after the highest number
// already there. Notes on the debug draw's screen layer show what was captured and what
// still waits to be written.
//
// Each image is sized by the viewport at the moment it is read, so a resize mid-run only
// changes the size of later files. The backlog is bounded: when it holds
// MaxBufferedBytes, the main thread waits for the writer (capture mode runs on a fixed
// frame time, so waiting loses nothing).

#include "Framework/core/math/Vector.h"
#include "Framework/core/threads/WorkQueue.h"
#include "Framework/graphics/capture/NrJobsCounter.h"
#include "Framework/graphics/screen/Screen.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zor {

// One read-back image: pixels blue, green, red, alpha, rows from the bottom up.
struct CaptureImage {
    CaptureImage(iVector2 imageSize, std::unique_ptr<std::uint32_t[]> imagePixels, std::shared_ptr<CaptureBacklog> backlog)
        : size(imageSize),
          pixels(std::move(imagePixels)),
          counter(std::move(backlog), std::uint64_t(4) * std::uint64_t(size.x) * std::uint64_t(size.y)) {}

    iVector2 size;
    std::unique_ptr<std::uint32_t[]> pixels;
    NrJobsCounter counter;
};

class Capturer {
public:
    using RenderFunction = std::function<void()>;

    // Image data waiting for the writer before the main thread waits.
    static constexpr std::uint64_t MaxBufferedBytes = std::uint64_t(512) << 20;
    // The longest wait for the writer; past it the pair is dropped (the writer is stuck).
    static constexpr double MaxWaitSeconds = 10.0;

    // `renderFrame` renders the current viewport (the system core's renderFrame). The
    // worker starts at once and first finds the next free number.
    explicit Capturer(RenderFunction renderFrame);
    // Lets the writer finish the images still waiting (at most MaxWaitSeconds), so quitting
    // keeps every captured frame, then stops the worker.
    ~Capturer();
    Capturer(const Capturer&) = delete;
    Capturer& operator=(const Capturer&) = delete;

    // Main thread, once per displayed frame after the buffer swap.
    void captureFrame();

    std::int32_t bufferedImages() const { return m_backlog->images.load(); }
    std::uint64_t bufferedBytes() const { return m_backlog->bytes.load(); }
    std::uint32_t frameCounter() const { return m_frameCounter; }

private:
    void capturePair(const Screen::Viewport& viewport);
    // Waits until the writer's backlog is down to `limit` bytes; false after MaxWaitSeconds.
    bool waitForBacklog(std::uint64_t limit);
    void findNextIndex();
    void saveFrame(Screen::StereoModeEnum eye, const CaptureImage& image);

    RenderFunction m_render;
    std::uint32_t m_frameCounter = 0;
    const std::uint32_t m_framesPerImage = 2;
    std::uint64_t m_capturedBytes = 0;
    std::uint32_t m_nextNumber = 0;  // the worker's alone
    bool m_lastWriteFailed = false;  // the worker's alone
    std::shared_ptr<CaptureBacklog> m_backlog = std::make_shared<CaptureBacklog>();
    // Last, so the worker is joined before anything it uses goes away.
    std::unique_ptr<ThreadedWorkQueue> m_queue;
};

// The number after the highest of the entries "…left<digits>.tga"; 0 when there is none.
// Entries whose name holds anything else between "left" and ".tga" do not count.
std::uint32_t nextCaptureNumber(const std::vector<std::string>& entries);

// The three notes: pairs taken and the data captured, images waiting, data waiting.
std::array<std::string, 3> captureNotes(std::uint32_t pairs, std::uint64_t capturedBytes, std::int32_t bufferedImages,
                                        std::uint64_t bufferedBytes);

} // namespace zor
