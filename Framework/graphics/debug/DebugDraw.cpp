#include "Framework/graphics/debug/DebugDraw.h"

#include "Framework/core/memory/Polygon.h"
#include "Framework/graphics/font/Font.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zor {

namespace {

constexpr float TwoPi = 6.2831855f;
constexpr PackedColor PolylineRed(0xFF0000FFu);

float clampedTime(float time) { return time < 0.0f ? 0.0f : time; }

// Counts the shapes down and drops those whose time has run out.
template <class Shape>
void advanceList(std::vector<boost::intrusive_ptr<Shape>>& shapes, float seconds) {
    for (auto& shape : shapes) shape->remainingTime -= seconds;
    shapes.erase(std::remove_if(shapes.begin(), shapes.end(), [](const auto& shape) { return shape->remainingTime <= 0.0f; }),
                 shapes.end());
}

} // namespace

Mutex& DebugDraw::mutex() {
    static Mutex lock;
    return lock;
}

void DebugDraw::Layer::addLine(const fpSegment& segment, float time, const PackedColor& color) {
    boost::intrusive_ptr<LineData> line(new LineData(clampedTime(time)));
    line->segments.push_back(segment);
    line->color = color;
    Mutex::ScopedLock lock(mutex());
    lines.push_back(std::move(line));
}

void DebugDraw::Layer::addRectangle(const fpRect& rect, float time, const PackedColor& color) {
    const float right = rect.x + rect.w - 1.0f;
    const float bottom = rect.y + rect.h - 1.0f;
    addLine(fpSegment(rect.x, rect.y, right, rect.y), time, color);
    addLine(fpSegment(right, rect.y, right, bottom), time, color);
    addLine(fpSegment(right, bottom, rect.x, bottom), time, color);
    addLine(fpSegment(rect.x, bottom, rect.x, rect.y), time, color);
}

void DebugDraw::Layer::addCircle(float centreX, float centreY, float radius, float time, const PackedColor& color) {
    // Truncated toward zero; below 2 (also negative or not a number) there is no segment.
    if (!(radius >= 2.0f)) return;
    const auto whole = static_cast<unsigned long long>(std::min(radius, 1.0e18f));
    int log2 = 0;
    while ((whole >> (log2 + 1)) != 0) ++log2;
    const int count = 4 * log2;
    const auto point = [&](int k) {
        const float angle = static_cast<float>(k) / static_cast<float>(count) * TwoPi;
        return fpVector2(centreX + radius * std::cos(angle), centreY + radius * std::sin(angle));
    };
    fpVector2 previous = point(0);
    for (int k = 1; k < count; ++k) {
        const fpVector2 current = point(k);
        addLine(fpSegment(previous, current), time, color);
        previous = current;
    }
    addLine(fpSegment(previous, point(0)), time, color);
}

void DebugDraw::Layer::addPolyline(const Polygon& polygon, float time) {
    for (std::size_t i = 1; i < polygon.vertices.size(); ++i)
        addLine(fpSegment(polygon.getWorldVertex(i - 1), polygon.getWorldVertex(i)), time, PolylineRed);
}

void DebugDraw::Layer::addGrid(const fpRect& rect, const fpVector2& cellSize, float time, const PackedColor& color) {
    boost::intrusive_ptr<GridData> grid(new GridData(clampedTime(time)));
    grid->rect = rect;
    grid->cellSize = cellSize;
    grid->color = color;
    Mutex::ScopedLock lock(mutex());
    grids.push_back(std::move(grid));
}

void DebugDraw::Layer::addLogLine(const std::string& text, std::uintptr_t id, const fpRect& box, float time,
                                  const Font* font, const PackedColor& color) {
    boost::intrusive_ptr<LogData::LogEntry> entry(new LogData::LogEntry(time));
    entry->duration = time;
    entry->text = text;
    entry->font = font;
    entry->color = color;
    Mutex::ScopedLock lock(mutex());
    auto found = std::find_if(logs.begin(), logs.end(), [id](const auto& log) { return log->id == id; });
    if (found == logs.end()) {
        boost::intrusive_ptr<LogData> log(new LogData(0.0f));
        log->id = id;
        found = logs.insert(logs.end(), std::move(log));
    }
    (*found)->box = box;
    (*found)->entries.push_back(std::move(entry));
}

void DebugDraw::Layer::expireLog(std::uintptr_t id) {
    Mutex::ScopedLock lock(mutex());
    for (const auto& log : logs) {
        if (log->id != id) continue;
        for (const auto& entry : log->entries) entry->remainingTime = 0.0f;
    }
}

void DebugDraw::Layer::clear() {
    lines.clear();
    grids.clear();
    messages.clear();
    logs.clear();
}

void DebugDraw::Layer::advance(float seconds) {
    advanceList(lines, seconds);
    advanceList(grids, seconds);
    advanceList(messages, seconds);
    // A log lasts while it has lines; its own time is not used.
    for (const auto& log : logs) advanceList(log->entries, seconds);
    logs.erase(std::remove_if(logs.begin(), logs.end(), [](const auto& log) { return log->entries.empty(); }),
               logs.end());
}

void DebugDraw::setRenderer(std::shared_ptr<Font> messageFont, std::shared_ptr<QuadBatch> quads,
                            std::shared_ptr<PrimitiveBatch> primitives) {
    m_font = std::move(messageFont);
    m_quadBatch = std::move(quads);
    m_primitiveBatch = std::move(primitives);
}

void DebugDraw::addMessage(const fpRect& box, Layer& layer, const std::string& text, float time,
                           const PackedColor& color) {
    if (!m_font) return;
    boost::intrusive_ptr<MessageData> message(new MessageData(clampedTime(time)));
    message->box = box;
    message->mesh = Font::buildTextMesh(*m_font, text, box, CompassAnchor::NorthWest);
    message->color = color;
    Mutex::ScopedLock lock(mutex());
    layer.messages.push_back(std::move(message));
}

void DebugDraw::clear() {
    Mutex::ScopedLock lock(mutex());
    worldLayer.clear();
    screenLayer.clear();
}

void DebugDraw::advance(float seconds) {
    Mutex::ScopedLock lock(mutex());
    worldLayer.advance(seconds);
    screenLayer.advance(seconds);
}

void drawDebugText(const fpVector2& position, DebugDraw& debugDraw, const std::string& text, float time,
                   const PackedColor& color) {
    debugDraw.addMessage(fpRect(position.x, position.y, 1000.0f, 1000.0f), debugDraw.worldLayer, text, time, color);
}

} // namespace zor
