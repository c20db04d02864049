#include "Framework/graphics/capture/Capturer.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/core/threads/Clock.h"
#include "Framework/graphics/capture/TgaWriter.h"
#include "Framework/graphics/debug/DebugDraw.h"

#include <GL/glew.h>
#include <boost/format.hpp>

#include <algorithm>
#include <cctype>
#include <iomanip>
#include <new>

namespace zor {

namespace {

const char* const LogSource = "Capturer";
constexpr PackedColor NoteColor(0xFFFFFFFFu);

float wholeKiB(std::uint64_t bytes) { return static_cast<float>(bytes / 1024); }

} // namespace

std::uint32_t nextCaptureNumber(const std::vector<std::string>& entries) {
    static const std::string Prefix = "left";
    static const std::string Suffix = ".tga";
    std::uint32_t next = 0;
    for (const std::string& entry : entries) {
        const std::string name = fileNameOf(entry);
        if (name.size() <= Prefix.size() + Suffix.size() || name.compare(0, Prefix.size(), Prefix) != 0 ||
            name.compare(name.size() - Suffix.size(), Suffix.size(), Suffix) != 0)
            continue;
        const std::string digits = name.substr(Prefix.size(), name.size() - Prefix.size() - Suffix.size());
        // A number that the next one could not follow (or that is no number) is not ours.
        if (digits.size() > 9) continue;
        bool allDigits = true;
        for (const char c : digits) allDigits = allDigits && std::isdigit(static_cast<unsigned char>(c));
        if (!allDigits) continue;
        next = std::max(next, static_cast<std::uint32_t>(std::stoul(digits)) + 1);
    }
    return next;
}

std::array<std::string, 3> captureNotes(std::uint32_t pairs, std::uint64_t capturedBytes, std::int32_t bufferedImages,
                                        std::uint64_t bufferedBytes) {
    constexpr float PerKiB = 1.0f / 1024.0f;
    const float capturedGiB = wholeKiB(capturedBytes) * PerKiB * PerKiB;
    const float bufferedMiB = wholeKiB(bufferedBytes) * PerKiB;
    return {
        (boost::format("Capturing... %1% (%2% GiB)") % pairs % boost::io::group(std::setprecision(2), capturedGiB)).str(),
        (boost::format("Buffered Frames: %1%") % bufferedImages).str(),
        (boost::format("Buffered Data: %1% MiB") % boost::io::group(std::setprecision(2), bufferedMiB)).str(),
    };
}

Capturer::Capturer(RenderFunction renderFrame)
    : m_render(std::move(renderFrame)), m_queue(std::make_unique<ThreadedWorkQueue>()) {
    m_queue->post([this] { findNextIndex(); });
}

Capturer::~Capturer() {
    if (!waitForBacklog(0)) LogHandler::log(LogHandler::Warning, LogSource, "Captured frames were left unwritten");
    m_queue.reset();
}

void Capturer::captureFrame() {
    if (m_frameCounter % m_framesPerImage == m_framesPerImage - 1 && !Screen::viewports().empty())
        capturePair(Screen::viewports().front());
    ++m_frameCounter;

    if (!DebugDraw::exists()) return;
    DebugDraw& debugDraw = DebugDraw::instance();
    const auto notes = captureNotes(m_frameCounter / m_framesPerImage, m_capturedBytes, bufferedImages(), bufferedBytes());
    const float top[] = {184.0f, 200.0f, 216.0f};
    for (std::size_t i = 0; i < notes.size(); ++i)
        debugDraw.addMessage(fpRect(160.0f, top[i], 1000.0f, 1000.0f), debugDraw.screenLayer, notes[i], 0.0f, NoteColor);
}

void Capturer::capturePair(const Screen::Viewport& viewport) {
    if (viewport.width <= 0 || viewport.height <= 0) return;
    const iVector2 size(viewport.width, viewport.height);
    const std::size_t pixelCount = static_cast<std::size_t>(size.x) * static_cast<std::size_t>(size.y);
    const std::uint64_t imageBytes = std::uint64_t(4) * pixelCount;
    // A pair larger than the whole allowance waits for an empty backlog.
    const std::uint64_t pairBytes = 2 * imageBytes;
    if (!waitForBacklog(pairBytes < MaxBufferedBytes ? MaxBufferedBytes - pairBytes : 0)) {
        LogHandler::log(LogHandler::Warning, LogSource, "The capture writer does not keep up; a frame pair is dropped");
        return;
    }
    const GLint x = viewport.x;
    const GLint y = viewport.windowHeight - viewport.y - viewport.height;
    for (const Screen::StereoModeEnum eye : {Screen::StereoFirstEye, Screen::StereoSecondEye}) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Screen::setStereoMode(eye);
        Screen::setCurrentViewportIndex(0);
        glViewport(x, y, size.x, size.y);
        m_render();

        std::unique_ptr<std::uint32_t[]> pixels(new (std::nothrow) std::uint32_t[pixelCount]);
        if (!pixels) {
            LogHandler::log(LogHandler::Warning, LogSource, "No memory for a captured image; a frame is dropped");
            return;
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(x, y, size.x, size.y, GL_BGRA, GL_UNSIGNED_BYTE, pixels.get());
        auto image = std::make_shared<const CaptureImage>(size, std::move(pixels), m_backlog);
        m_queue->post([this, eye, image] { saveFrame(eye, *image); });
        m_capturedBytes += imageBytes;
    }
}

bool Capturer::waitForBacklog(std::uint64_t limit) {
    const double start = secondsSinceStart();
    while (bufferedBytes() > limit) {
        if (secondsSinceStart() - start > MaxWaitSeconds) return false;
        sleepSeconds(0.001);
    }
    return true;
}

void Capturer::findNextIndex() {
    createDirectories(resolvePath("Captures", FileLocation::User));
    std::vector<std::string> entries;
    listFiles(FileLocation::User, entries, "Captures/left*.tga");
    m_nextNumber = std::max(m_nextNumber, nextCaptureNumber(entries));
}

void Capturer::saveFrame(Screen::StereoModeEnum eye, const CaptureImage& image) {
    const char* const pattern = eye == Screen::StereoFirstEye ? "Captures/left%07d.tga" : "Captures/right%07d.tga";
    const std::string name = (boost::format(pattern) % m_nextNumber).str();
    const bool written = writeTGA(name, image.size, image.pixels.get());
    // One warning per run of failures: a full disk would otherwise flood the log.
    if (!written && !m_lastWriteFailed)
        LogHandler::log(LogHandler::Warning, LogSource, "Could not write the capture file " + name);
    m_lastWriteFailed = !written;
    if (eye != Screen::StereoFirstEye) ++m_nextNumber;
}

} // namespace zor
