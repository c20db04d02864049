// The renderer of the debug-draw queues: lines and grids through the 2-D primitive
// batch, texts and logs through the quad batch.
#include "Framework/graphics/debug/DebugDraw.h"

#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/primitive/PrimitiveBatch.h"

#include <algorithm>

namespace zor {

namespace {

// A grid with tiny cells would queue lines without end; past this many per axis the
// cells are not drawn.
constexpr int MaxGridLines = 512;

void addGridLines(PrimitiveBatch& batch, const DebugDraw::GridData& grid) {
    const fpRect& rect = grid.rect;
    batch.addRectOutline(rect, grid.color);
    const fpVector2& cell = grid.cellSize;
    if (cell.x > 0.0f && rect.w / cell.x <= MaxGridLines)
        for (float x = rect.x + cell.x; x < rect.right(); x += cell.x)
            batch.addLine(x, rect.y, x, rect.bottom(), grid.color);
    if (cell.y > 0.0f && rect.h / cell.y <= MaxGridLines)
        for (float y = rect.y + cell.y; y < rect.bottom(); y += cell.y)
            batch.addLine(rect.x, y, rect.right(), y, grid.color);
}

// Queues the mesh, first emptying the batch when the mesh would not fit in it.
void drawMesh(QuadBatch& batch, const TextMesh& mesh, const PackedColor& color, const fpMatrix4& transform) {
    if (batch.count() + static_cast<int>(mesh.quads.size()) > batch.capacity()) batch.flush(0);
    mesh.draw(batch, color, transform);
}

} // namespace

void DebugDraw::draw(Layer& layer, const fpMatrix4& transform) {
    if (!m_quadBatch || !m_primitiveBatch) return;
    struct LogView {
        fpRect box;
        std::vector<boost::intrusive_ptr<LogData::LogEntry>> entries;
    };
    // Drawn from copies, so adders on other threads do not wait for the GL work.
    std::vector<boost::intrusive_ptr<LineData>> lines;
    std::vector<boost::intrusive_ptr<GridData>> grids;
    std::vector<boost::intrusive_ptr<MessageData>> messages;
    std::vector<LogView> logs;
    {
        Mutex::ScopedLock lock(mutex());
        lines = layer.lines;
        grids = layer.grids;
        messages = layer.messages;
        for (const auto& log : layer.logs) logs.push_back({log->box, log->entries});
    }

    PrimitiveBatch& primitives = *m_primitiveBatch;
    primitives.modelView = transform;
    primitives.modelViewChanged = true;
    for (const auto& line : lines)
        for (const fpSegment& segment : line->segments)
            primitives.addLine(segment.start.x, segment.start.y, segment.end.x, segment.end.y, line->color);
    for (const auto& grid : grids) addGridLines(primitives, *grid);
    primitives.flush();

    QuadBatch& quads = *m_quadBatch;
    quads.begin();
    for (const auto& message : messages) drawMesh(quads, *message->mesh, message->color, transform);
    for (const LogView& log : logs) drawLog(log.entries, log.box, transform);
    quads.flush(0);
}

void DebugDraw::drawLog(const std::vector<boost::intrusive_ptr<LogData::LogEntry>>& entries, const fpRect& box,
                        const fpMatrix4& transform) {
    // The newest lines that fit, shown oldest first from the top of the box.
    std::size_t first = entries.size();
    float height = 0.0f;
    while (first > 0) {
        LogData::LogEntry& entry = *entries[first - 1];
        const Font* font = entry.font ? entry.font : m_font.get();
        if (!font) break;
        if (!entry.mesh)
            entry.mesh = Font::buildTextMesh(*font, entry.text, fpRect(0.0f, 0.0f, box.w, box.h), CompassAnchor::NorthWest);
        const float entryHeight = std::max(entry.mesh->bounds.h, static_cast<float>(font->lineHeight));
        if (height + entryHeight > box.h) break;
        height += entryHeight;
        --first;
    }
    float y = box.y;
    fpMatrix4 placed;
    for (std::size_t i = first; i < entries.size(); ++i) {
        const LogData::LogEntry& entry = *entries[i];
        transform.multiply(fpMatrix4::translation(box.x, y, 0.0f), placed);
        drawMesh(*m_quadBatch, *entry.mesh, entry.color, placed);
        y += std::max(entry.mesh->bounds.h, static_cast<float>(entry.mesh->font->lineHeight));
    }
}

} // namespace zor
