#pragma once
// The performance overlay: how fast the update steps really run, draw calls and
// triangles per frame, and rolling averages of named timings that any code reports.
// Twice a second, while shown, it formats its lines and lays out each changed one with
// the debug font at the top left of the screen. Main thread only.
//
// The system core feeds it every update step (recordFrameTime, then update); the main
// loop reports each displayed frame (recordFrame) and the batches their draw calls.

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/graphics/debug/SampleHistory.h"
#include "Framework/graphics/text/TextMesh.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace zor {

class Font;
class ITextureBatch;

namespace PerfOverlay {

// One line of the overlay. Warning levels 0 to 2 colour it white, yellow or red.
struct Line {
    std::string text;
    TextMeshPtr mesh;
    std::int32_t warningLevel = 0;
    std::int32_t row = -1;  // the line position its mesh was laid out at
};

struct PerfCounter {
    std::string name;
    TrackedHistory samples;
    float formattedAverage = 0.0f;
    std::int32_t decimals = 0;
    Line line;
};

class Overlay {
public:
    // Seconds between refreshes.
    static constexpr float RefreshInterval = 0.5f;

    // Keeps the font the lines are laid out with and declares "perf"/"minmax".
    void init(std::shared_ptr<Font> debugFont);
    // Steps per second of this step (1 / its length); infinity and not-a-number are
    // ignored, the rest held to [0.1, 1000].
    void recordFrameTime(float rate);
    // Every update step: the real interval since the previous step (from `now`, clock
    // seconds) and, while shown, the refresh when it is due.
    void update(float stepLength, double now);
    void addSample(const std::string& name, float value);
    // A displayed frame of `seconds`; its rate is the third figure of the rate line.
    void recordFrame(float seconds);
    void countDrawCalls(std::int32_t calls, std::int32_t triangles);
    void setShown(bool on) { m_shown = on; }
    bool shown() const { return m_shown; }

    // While shown: the lines, when the current viewport is the one they were laid out for.
    void draw(ITextureBatch& batch, const fpMatrix4& transform) const;

    const Line& rateLine() const { return m_rate; }
    const Line& drawCallLine() const { return m_drawCalls; }
    const Line& triangleLine() const { return m_triangles; }
    const std::map<std::string, PerfCounter>& counters() const { return m_counters; }

private:
    void refresh();
    void setLine(Line& line, const std::string& text, std::int32_t row);

    std::shared_ptr<Font> m_font;
    DebugFlag* m_minMax = nullptr;
    bool m_shown = false;
    float m_countdown = 0.0f;

    TrackedHistory m_stepRates;
    TrackedHistory m_stepIntervals;
    std::optional<double> m_previousStepTime;
    TrackedHistory m_frameTimes;
    std::int32_t m_drawCallCount = 0;
    std::int32_t m_triangleCount = 0;
    std::int32_t m_frameCount = 0;

    Line m_rate;
    Line m_drawCalls;
    Line m_triangles;
    // By name, so the counter lines keep their order as counters are added.
    std::map<std::string, PerfCounter> m_counters;

    fpVector2 m_origin;  // top-left corner of the lines, in the viewport below
    std::int32_t m_viewport = 0;
};

// The overlay of the program.
Overlay& global();

void init(std::shared_ptr<Font> debugFont);
void recordFrameTime(float rate);
// update with the clock's seconds since start.
void update(float stepLength);
void addSample(const std::string& name, float value);
// One GL draw call of the program's batches, with the triangles it drew.
void countDrawCall(std::int32_t triangles);

} // namespace PerfOverlay

} // namespace zor
