#include "Framework/graphics/sprite/SpriteSet.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/sprite/SpriteFrameRuns.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zor {
namespace {

// A strict weak order even for damaged data: NaN depths sort last.
float depthKey(const SpriteNodeDefinition* node) {
    return std::isnan(node->depth) ? std::numeric_limits<float>::infinity() : node->depth;
}

const std::string RootName = "_root";

constexpr int countPending = -1;
constexpr int countInProgress = -2;

} // namespace

SpriteSet::SpriteSet(std::string folder) : m_folder(std::move(folder)) {}

const SpriteDefinition* SpriteSet::findDefinition(const std::string& name) const {
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

void SpriteSet::link() {
    m_byName.clear();
    for (const auto& definition : definitions) m_byName.emplace(definition->name, definition.get());
    root.name = RootName;
    root.definitionName = RootName;
    root.definition = findDefinition(RootName);

    for (const auto& definition : definitions) {
        definition->children.clear();
        for (SpriteNodeDefinition& node : definition->nodes) {
            node.definition = findDefinition(node.definitionName);
            if (!node.definition) {
                throw CheckReleaseError("Sprite set '" + m_folder + "': child '" + node.name + "' of definition '" +
                                        definition->name + "' names the missing definition '" +
                                        node.definitionName + "'");
            }
            definition->children.push_back(&node);
        }
        std::stable_sort(definition->children.begin(), definition->children.end(),
                         [](const SpriteNodeDefinition* a, const SpriteNodeDefinition* b) {
                             return depthKey(a) < depthKey(b);
                         });
        definition->childFrameRuns = childFrameRuns(*definition);
        definition->descendantCount = countPending;
    }

    Walk walk;
    walk.depths.assign(definitions.size(), 0);
    walk.indexOf.reserve(definitions.size());
    for (std::size_t i = 0; i < definitions.size(); ++i) walk.indexOf.emplace(definitions[i].get(), i);
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        if (definitions[i]->descendantCount == countPending) countDescendants(i, walk);
    }
}

// Depth first without recursion, so a long chain of definitions cannot exhaust the stack.
// A definition met again while it is still open contains itself.
void SpriteSet::countDescendants(std::size_t rootIndex, Walk& walk) {
    struct Open {
        SpriteDefinition* definition;
        std::size_t nextChild;
    };
    std::vector<Open> open{{definitions[rootIndex].get(), 0}};
    open.back().definition->descendantCount = countInProgress;
    while (!open.empty()) {
        Open& top = open.back();
        if (top.nextChild < top.definition->children.size()) {
            SpriteDefinition* child =
                definitions[walk.indexOf.at(top.definition->children[top.nextChild++]->definition)].get();
            if (child->descendantCount == countInProgress) {
                std::string path;
                bool inCycle = false;
                for (const Open& o : open) {
                    inCycle = inCycle || o.definition == child;
                    if (inCycle) path += o.definition->name + " > ";
                }
                throw CheckReleaseError("Sprite set '" + m_folder + "': definition '" + child->name +
                                        "' contains itself (" + path + child->name + ")");
            }
            if (child->descendantCount == countPending) {
                child->descendantCount = countInProgress;
                open.push_back({child, 0});
            }
            continue;
        }

        SpriteDefinition& done = *top.definition;
        std::int64_t count = 0;
        int depth = 0;
        for (const SpriteNodeDefinition* node : done.children) {
            count += 1 + node->definition->descendantCount;
            depth = std::max(depth, 1 + walk.depths[walk.indexOf.at(node->definition)]);
        }
        if (count >= kMaxSpriteTreeNodes || depth > kMaxSpriteTreeDepth) {
            throw CheckReleaseError("Sprite set '" + m_folder + "': definition '" + done.name +
                                    "' makes a tree beyond " + std::to_string(kMaxSpriteTreeNodes) +
                                    " nodes or " + std::to_string(kMaxSpriteTreeDepth) + " levels");
        }
        done.descendantCount = static_cast<int>(count);
        walk.depths[walk.indexOf.at(&done)] = depth;
        open.pop_back();
    }
}

std::shared_ptr<SpriteSet> loadSpriteSet(const std::string& folder) {
    ByteArray data;
    const std::size_t size = readFile(data, joinPath(folder, "spriteset.dat"), FileLocation::GameData, false);
    if (size < 4) throw CheckReleaseError("File not found: " + folder);
    std::shared_ptr<SpriteSet> set = readSpriteSet(data, size, folder);
    set->textureSet = loadTextureSet(joinPath(folder, "atlas.lst"));
    return set;
}

} // namespace zor
