#include "Framework/core/memory/Polygon.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace zor {
namespace {

fpVector2 rotated(const fpVector2& v, float cosine, float sine) {
    return {cosine * v.x - sine * v.y, cosine * v.y + sine * v.x};
}

} // namespace

Polygon::Polygon(std::vector<fpVector2> outline) : vertices(std::move(outline)) { refresh(); }

void Polygon::refresh() {
    normals.clear();
    perimeter = 0.0f;
    for (std::size_t i = 1; i < vertices.size(); ++i) {
        const fpVector2 edge = vertices[i] - vertices[i - 1];
        const fpVector2 unit = edge.normalized();
        normals.emplace_back(-unit.y, unit.x);
        perimeter += edge.length();
    }
    const float kept = angle;
    angle = 0.0f;
    localBounds = bounds(0.0f);
    angle = kept;
}

fpRect Polygon::worldBounds() const {
    fpRect placed = localBounds;
    if (angle != 0.0f) {
        placed = bounds(angle);
    } else {
        placed.x *= scale.x;
        placed.w *= scale.x;
        placed.y *= scale.y;
        placed.h *= scale.y;
    }
    placed.x += position.x;
    placed.y += position.y;
    return placed;
}

fpVector2 Polygon::getWorldVertex(std::size_t i) const {
    fpVector2 local = vertices[i];
    if (angle != 0.0f) {
        local = rotated(local, std::cos(angle), std::sin(angle));
    }
    return position + scale * local;
}

bool Polygon::contains(const fpVector2& point) const {
    bool inside = false;
    const std::size_t count = vertices.size();
    for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
        const fpVector2 a = getWorldVertex(i);
        const fpVector2 b = getWorldVertex(j);
        const bool spans = (point.y > a.y && point.y <= b.y) || (point.y > b.y && point.y <= a.y);
        if (spans && point.x > a.x + (point.y - a.y) / (b.y - a.y) * (b.x - a.x)) {
            inside = !inside;
        }
    }
    return inside;
}

fpRect Polygon::bounds(float rotation) const {
    if (vertices.empty()) return {};
    if (vertices.size() == 1) return {vertices[0].x, vertices[0].y, 0.0f, 0.0f};
    const float cosine = std::cos(rotation);
    const float sine = std::sin(rotation);
    fpVector2 lowest(std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
    fpVector2 highest(std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest());
    for (const fpVector2& vertex : vertices) {
        const fpVector2 v = angle != 0.0f ? rotated(vertex, cosine, sine) : vertex;
        lowest = {std::min(lowest.x, v.x), std::min(lowest.y, v.y)};
        highest = {std::max(highest.x, v.x), std::max(highest.y, v.y)};
    }
    return {lowest.x, lowest.y, highest.x - lowest.x, highest.y - lowest.y};
}

} // namespace zor
