#pragma once
// The debug-drawing service: any code, on any thread, queues lines, outlines, grids,
// texts and scrolling logs into one of two layers, the world layer (world pixels, drawn
// through the game camera) and the screen layer (design pixels of the screen). Each
// shape carries the seconds it stays visible; a time of 0 shows it for one frame.
//
// One global Mutex guards every list of both layers; it is not re-entrant, so no adder
// may be called while it is held (composite adders take it once per segment). Shapes
// come from the locked pools, since they are made and dropped on several threads.

#include "Framework/core/AbstractSingleton.h"
#include "Framework/core/math/Color.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Segment.h"
#include "Framework/core/math/Vector.h"
#include "Framework/core/memory/PooledObject.h"
#include "Framework/core/threads/Mutex.h"
#include "Framework/graphics/text/TextMesh.h"

#include <boost/intrusive_ptr.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class Font;
class PrimitiveBatch;
class QuadBatch;
struct Polygon;

class DebugDraw : public AbstractSingleton<DebugDraw> {
public:
    struct ShapeData : LockedPooledObject {
        explicit ShapeData(float time) : remainingTime(time) {}
        virtual ~ShapeData() = default;
        ShapeData(const ShapeData&) = delete;
        ShapeData& operator=(const ShapeData&) = delete;

        float remainingTime;

    private:
        friend void intrusive_ptr_add_ref(ShapeData* shape) {
            shape->m_references.fetch_add(1, std::memory_order_relaxed);
        }
        friend void intrusive_ptr_release(ShapeData* shape) {
            if (shape->m_references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete shape;
        }

        std::atomic<std::int32_t> m_references{0};
    };

    struct LineData : ShapeData {
        using ShapeData::ShapeData;
        std::vector<fpSegment> segments;
        PackedColor color;
    };

    struct GridData : ShapeData {
        using ShapeData::ShapeData;
        fpRect rect;
        fpVector2 cellSize;
        PackedColor color;
    };

    struct MessageData : ShapeData {
        using ShapeData::ShapeData;
        fpRect box;
        TextMeshPtr mesh;
        PackedColor color;
    };

    struct LogData : ShapeData {
        struct LogEntry : ShapeData {
            using ShapeData::ShapeData;
            float duration = 0.0f;
            std::string text;
            const Font* font = nullptr;
            PackedColor color;
            TextMeshPtr mesh;  // laid out when first drawn
        };

        using ShapeData::ShapeData;
        std::uintptr_t id = 0;  // chosen by the caller, usually the address of something it owns
        std::vector<boost::intrusive_ptr<LogEntry>> entries;
        fpRect box;
    };

    // The queues of one layer, in insertion order. Read them under mutex() only.
    class Layer {
    public:
        // A negative time counts as 0 in every adder but addLogLine.
        void addLine(const fpSegment& segment, float time, const PackedColor& color);
        // The outline's far edges lie at x + width - 1 and y + height - 1.
        void addRectangle(const fpRect& rect, float time, const PackedColor& color);
        // 4 x floor(log2(radius)) segments; nothing for a radius below 2.
        void addCircle(float centreX, float centreY, float radius, float time, const PackedColor& color);
        // The polygon's world vertices joined in order, the last not back to the first, in red.
        void addPolyline(const Polygon& polygon, float time);
        void addGrid(const fpRect& rect, const fpVector2& cellSize, float time, const PackedColor& color);
        // Appends a line to the log of that id (made when missing), whose box becomes `box`.
        void addLogLine(const std::string& text, std::uintptr_t id, const fpRect& box, float time, const Font* font,
                        const PackedColor& color = PackedColor(0xFFFFFFFFu));
        // Ends every line of the logs of that id at the next frame.
        void expireLog(std::uintptr_t id);

        std::vector<boost::intrusive_ptr<LineData>> lines;
        std::vector<boost::intrusive_ptr<GridData>> grids;
        std::vector<boost::intrusive_ptr<MessageData>> messages;
        std::vector<boost::intrusive_ptr<LogData>> logs;

    private:
        friend class DebugDraw;
        void clear();
        void advance(float seconds);
    };

    DebugDraw() = default;

    // What drawing needs, handed over by start-up once the fonts and batches exist: the
    // font that lays out messages, and the batches the renderer queues into.
    void setRenderer(std::shared_ptr<Font> messageFont, std::shared_ptr<QuadBatch> quads,
                     std::shared_ptr<PrimitiveBatch> primitives);
    const Font* font() const { return m_font.get(); }

    // A text laid out in the box with the message font, from its top-left corner. Ignored
    // while there is no font.
    void addMessage(const fpRect& box, Layer& layer, const std::string& text, float time, const PackedColor& color);

    // Drops every shape of both layers.
    void clear();

    // Main thread: draws the layer's shapes through the batches, each at transform x its
    // position; the caller has set the batches' projection. Logs show their newest lines
    // at the bottom of their box, older ones scrolling up and out.
    void draw(Layer& layer, const fpMatrix4& transform);
    // Once per displayed frame, after drawing: counts every remaining time down and drops
    // the shapes and log lines whose time has run out.
    void advance(float seconds);

    // The lock of every list of both layers.
    static Mutex& mutex();

    Layer worldLayer;
    Layer screenLayer;

private:
    void drawLog(const std::vector<boost::intrusive_ptr<LogData::LogEntry>>& entries, const fpRect& box,
                 const fpMatrix4& transform);

    std::shared_ptr<Font> m_font;
    std::shared_ptr<QuadBatch> m_quadBatch;
    std::shared_ptr<PrimitiveBatch> m_primitiveBatch;
};

// Queues a message into the world layer in the box (position, 1000 x 1000).
void drawDebugText(const fpVector2& position, DebugDraw& debugDraw, const std::string& text, float time,
                   const PackedColor& color);

} // namespace zor
