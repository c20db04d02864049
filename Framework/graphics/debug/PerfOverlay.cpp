#include "Framework/graphics/debug/PerfOverlay.h"

#include "Framework/core/threads/Clock.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/screen/Screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zor {

namespace PerfOverlay {

namespace {

constexpr PackedColor WarningColors[] = {
    PackedColor(0xFFFFFFFFu),  // white
    PackedColor(0xFF00FFFFu),  // yellow
    PackedColor(0xFF0000FFu),  // red
};

// Lines are formatted into a buffer of this size, as the overlay always has.
constexpr std::size_t LineBufferSize = 256;

template <class... Args>
std::string formatted(const char* format, Args... args) {
    char buffer[LineBufferSize];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::int32_t warningAbove(std::int32_t value, std::int32_t yellow, std::int32_t red) {
    return (value > red ? 1 : 0) + (value > yellow ? 1 : 0);
}

} // namespace

void Overlay::init(std::shared_ptr<Font> debugFont) {
    m_font = std::move(debugFont);
    m_minMax = &declareDebugToggle(DebugToggle("minmax", DebugToggle::Toggle, "perf"));
}

void Overlay::recordFrameTime(float rate) {
    if (!std::isfinite(rate)) return;
    m_stepRates.add(std::clamp(rate, 0.1f, 1000.0f));
}

void Overlay::update(float stepLength, double now) {
    m_countdown -= stepLength;
    if (m_previousStepTime) m_stepIntervals.add(static_cast<float>(now - *m_previousStepTime));
    m_previousStepTime = now;
    if (m_countdown > 0.0f || !m_shown) return;
    m_countdown = RefreshInterval;
    refresh();
}

void Overlay::addSample(const std::string& name, float value) {
    PerfCounter& counter = m_counters[name];
    counter.name = name;
    counter.samples.add(value);
}

void Overlay::recordFrame(float seconds) {
    m_frameTimes.add(seconds);
    ++m_frameCount;
}

void Overlay::countDrawCalls(std::int32_t calls, std::int32_t triangles) {
    m_drawCallCount += calls;
    m_triangleCount += triangles;
}

void Overlay::setLine(Line& line, const std::string& text, std::int32_t row) {
    if (text == line.text && row == line.row) return;
    line.text = text;
    line.row = row;
    if (!m_font) return;
    const float lineHeight = static_cast<float>(m_font->lineHeight);
    const float top = static_cast<float>(row) * lineHeight;
    const fpRect box(m_origin.x, m_origin.y + top, 300.0f, 39.0f - top);
    line.mesh = Font::buildTextLine(*m_font, text, box, CompassAnchor::NorthWest);
}

void Overlay::refresh() {
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    m_viewport = viewports.size() >= 2 ? 1 : 0;
    if (!viewports.empty()) {
        const fpRect& visible = viewports[std::size_t(m_viewport)].visibleArea;
        m_origin = fpVector2(visible.x + 5.0f, visible.y + 5.0f);
    }
    const bool minMax = m_minMax && *m_minMax;

    const float frameRate = 1.0f / m_frameTimes.history.average();
    m_rate.warningLevel = (frameRate < 50.0f ? 1 : 0) + (frameRate < 59.0f ? 1 : 0);
    const std::string rate =
        minMax ? formatted("  fps: [%.1f, %.1f] ([%.1f, %.1f]), [%.1f, %.1f]", 1.0 / m_stepIntervals.maximum,
                           1.0 / m_stepIntervals.minimum, double(m_stepRates.minimum), double(m_stepRates.maximum),
                           1.0 / m_frameTimes.maximum, 1.0 / m_frameTimes.minimum)
               : formatted("  fps: %.1f (%.1f), %.1f", double(1.0f / m_stepIntervals.history.average()),
                           double(m_stepRates.history.average()), double(frameRate));

    std::int32_t drawCalls = m_drawCallCount;
    std::int32_t triangles = m_triangleCount;
    if (m_frameCount > 0) {
        drawCalls /= m_frameCount;
        triangles /= m_frameCount;
    }
    m_drawCalls.warningLevel = warningAbove(drawCalls, 750, 1000);
    m_triangles.warningLevel = warningAbove(triangles, 750000, 1000000);

    setLine(m_rate, rate, 0);
    setLine(m_drawCalls, formatted("dcall: %d", drawCalls), 1);
    setLine(m_triangles, formatted(" tris: %d", triangles), 2);

    std::int32_t row = 3;
    for (auto& entry : m_counters) {
        PerfCounter& counter = entry.second;
        const float average = counter.samples.history.average();
        if (std::fabs(average - counter.formattedAverage) >= 0.00001f || counter.line.text.empty() || minMax ||
            counter.line.row != row) {
            const std::string text =
                minMax ? formatted("%s: [%.*f, %.*f]", counter.name.c_str(), counter.decimals,
                                   double(counter.samples.minimum), counter.decimals, double(counter.samples.maximum))
                       : formatted("%s: %.*f", counter.name.c_str(), counter.decimals, double(average));
            counter.formattedAverage = average;
            setLine(counter.line, text, row);
        }
        counter.samples.resetRange();
        ++row;
    }

    m_stepRates.resetRange();
    m_stepIntervals.resetRange();
    m_frameTimes.resetRange();
    m_drawCallCount = 0;
    m_triangleCount = 0;
    m_frameCount = 0;
}

void Overlay::draw(ITextureBatch& batch, const fpMatrix4& transform) const {
    if (!m_shown || Screen::currentViewportIndex() != m_viewport) return;
    const auto drawLine = [&](const Line& line) {
        if (line.mesh) line.mesh->draw(batch, WarningColors[std::clamp(line.warningLevel, 0, 2)], transform);
    };
    drawLine(m_rate);
    drawLine(m_drawCalls);
    drawLine(m_triangles);
    for (const auto& entry : m_counters) drawLine(entry.second.line);
}

Overlay& global() {
    static Overlay overlay;
    return overlay;
}

void init(std::shared_ptr<Font> debugFont) { global().init(std::move(debugFont)); }

void recordFrameTime(float rate) { global().recordFrameTime(rate); }

void update(float stepLength) { global().update(stepLength, secondsSinceStart()); }

void addSample(const std::string& name, float value) { global().addSample(name, value); }

void countDrawCall(std::int32_t triangles) { global().countDrawCalls(1, triangles); }

} // namespace PerfOverlay

} // namespace zor
