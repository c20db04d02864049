// Reads sprite set files from arbitrary bytes. A set that is accepted must be linked whole:
// every child resolved, children in depth order, descendant counts within the limits and
// equal to the nodes a tree of the definition really holds; trees of it must build, play,
// update, draw and answer queries without faults.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_spriteset
//   build-fuzz/fuzz/fuzz_spriteset -max_total_time=60

#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/sprite/SpriteSet.h"
#include "fuzz/support/FuzzedSpriteSet.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

float depthKey(const zor::SpriteNodeDefinition* node) {
    return std::isnan(node->depth) ? std::numeric_limits<float>::infinity() : node->depth;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::shared_ptr<zor::SpriteSet> set = zor::fuzz::readFuzzedSpriteSet(data, size);
    if (!set) return 0;

    for (const auto& definition : set->definitions) {
        check(definition->descendantCount >= 0 && definition->descendantCount < zor::kMaxSpriteTreeNodes);
        check(definition->children.size() == definition->nodes.size());
        int expected = 0;
        for (std::size_t i = 0; i < definition->children.size(); ++i) {
            const zor::SpriteNodeDefinition* child = definition->children[i];
            check(child->definition != nullptr && child->definition->name == child->definitionName);
            if (i > 0) check(!(depthKey(child) < depthKey(definition->children[i - 1])));
            expected += 1 + child->definition->descendantCount;
        }
        check(expected == definition->descendantCount);
    }

    zor::fuzz::NoImages manager(*set);
    zor::CommonBatch batch(64, 0.0f);
    std::vector<zor::fpVector2> points;
    for (const auto& definition : set->definitions) {
        if (definition->descendantCount > 4096) continue;
        // Not by name: a later definition may share the name of an earlier one.
        zor::SpritePtr tree(new zor::Sprite);
        tree->initFromDefinition(*definition, manager);
        int nodes = 0;
        tree->visitChildren("", [&nodes](zor::Sprite&) { ++nodes; }, zor::SpriteVisit::All);
        check(nodes == definition->descendantCount);

        tree->setInterpolation(true);
        tree->play();
        for (float dt : {0.016f, 0.5f, 7.0f}) tree->update(dt, false);
        tree->update(0.1f, true);
        tree->setSpeed(-1.0f);
        tree->update(0.3f, false);
        tree->draw(batch);
        tree->computeBounds();
        std::vector<zor::Sprite*> collected;
        tree->collectNodes(collected);
        for (const zor::SpriteShape& shape : definition->shapes) {
            points.clear();
            tree->findCollisionShape(shape.name, points, true, true);
            tree->getHitShape(points, true);
        }
        for (const auto& label : definition->labels) {
            tree->setFrameByName(label.second);
            tree->updateWithCues(0.25f, [](const std::string&) {});
        }
    }
    return 0;
}
