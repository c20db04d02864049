// Sprite trees on the CPU side: 200 trees of 20 nodes each, advanced by one 60 Hz step and
// queued into a batch, as the world presentation does every frame. Every node but the root
// animates through keys and shows an image; the argument turns key interpolation on. The
// raw-quad row queues as many unrotated quads straight into a batch: the update and draw
// rows count per quad shown, to compare with it. In the moving rows every tree moves at
// every step, so that every node recomposes, as with creatures on the move.
#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/graphics/sprite/SpriteSet.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kTrees = 200;
constexpr int kNodesPerTree = 20;
constexpr int kQuads = kTrees * (kNodesPerTree - 1);  // the roots show no image

// A creature of 3 image nodes and 4 limbs of 3 parts each: 19 nodes below the root.
class BenchManager : public zor::ISpriteManager {
public:
    BenchManager() : m_texture(zor::test::fakeTexture(1, 256, 256)), m_set("Sprites/bench") {
        m_set.framesPerSecond = 30;
        addDefinition("part", "atlas", {});
        addDefinition("limb", "atlas", {{"part", 3}});
        addDefinition("creature", "", {{"part", 3}, {"limb", 4}});
        m_set.link();
    }

    zor::SpritePtr createSprite(const std::string& name) override {
        zor::SpritePtr sprite(new zor::Sprite);
        sprite->initFromDefinition(*m_set.findDefinition(name), *this);
        return sprite;
    }
    float framesPerSecond() const override { return 30.0f; }
    bool findTexture(const std::string&, zor::TextureSetReference& out) const override {
        out.texture = m_texture.get();
        out.rect = zor::fpRect(32, 32, 16, 16);
        return true;
    }

private:
    void addDefinition(const std::string& name, const std::string& texture,
                       const std::vector<std::pair<std::string, int>>& children) {
        auto definition = std::make_unique<zor::SpriteDefinition>();
        definition->name = name;
        definition->textureName = texture;
        definition->originX = definition->originY = -8.0f;
        for (const auto& [child, count] : children) {
            for (int i = 0; i < count; ++i) {
                zor::SpriteNodeDefinition node;
                node.name = child + std::to_string(i);
                node.definitionName = child;
                node.depth = static_cast<float>(definition->nodes.size());
                node.lastFrame = 15;
                // Four keys of four frames each: move, turn, grow and fade.
                for (std::uint32_t k = 0; k < 4; ++k) {
                    zor::SpriteNodeState key;
                    key.firstFrame = 4 * k;
                    key.lastFrame = 4 * k + 3;
                    key.x = 3.0f * static_cast<float>(k + i);
                    key.y = -2.0f * static_cast<float>(k);
                    key.rotation = 0.2f * static_cast<float>(k);
                    key.scaleX = key.scaleY = 1.0f + 0.1f * static_cast<float>(k);
                    key.a = 1.0f - 0.1f * static_cast<float>(k);
                    node.keys.push_back(key);
                }
                definition->nodes.push_back(node);
            }
        }
        m_set.definitions.push_back(std::move(definition));
    }

    std::unique_ptr<zor::Texture> m_texture;
    zor::SpriteSet m_set;
};

struct Scene {
    explicit Scene(bool interpolate) {
        for (int i = 0; i < kTrees; ++i) {
            zor::SpritePtr tree = manager.createSprite("creature");
            tree->setPosition(static_cast<float>(i % 20) * 32.0f, static_cast<float>(i / 20) * 36.0f);
            tree->setInterpolation(interpolate);
            tree->play();
            // Spread the trees over the animation.
            tree->update(static_cast<float>(i) * 0.013f, false);
            trees.push_back(tree);
        }
    }

    BenchManager manager;
    std::vector<zor::SpritePtr> trees;
};

void BM_SpriteUpdate(benchmark::State& state) {
    Scene scene(state.range(0) != 0);
    for (auto _ : state) {
        for (const zor::SpritePtr& tree : scene.trees) tree->update(1.0f / 60.0f, false);
    }
    state.SetItemsProcessed(state.iterations() * kTrees * kNodesPerTree);
}

void BM_SpriteDraw(benchmark::State& state) {
    Scene scene(state.range(0) != 0);
    zor::CommonBatch batch(4096, 0.0f);
    for (auto _ : state) {
        for (const zor::SpritePtr& tree : scene.trees) tree->draw(batch);
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    state.SetItemsProcessed(state.iterations() * kTrees * kNodesPerTree);
}

void BM_SpriteUpdateAndDraw(benchmark::State& state) {
    Scene scene(state.range(0) != 0);
    zor::CommonBatch batch(4096, 0.0f);
    for (auto _ : state) {
        for (const zor::SpritePtr& tree : scene.trees) {
            tree->update(1.0f / 60.0f, false);
            tree->draw(batch);
        }
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
}

void BM_SpriteMoveUpdateAndDraw(benchmark::State& state) {
    Scene scene(state.range(0) != 0);
    zor::CommonBatch batch(4096, 0.0f);
    float x = 0.0f;
    for (auto _ : state) {
        x = x < 100.0f ? x + 1.0f : 0.0f;
        for (const zor::SpritePtr& tree : scene.trees) {
            tree->setPosition(x, tree->localState().y);
            tree->update(1.0f / 60.0f, false);
            tree->draw(batch);
        }
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
}

void BM_RawQuad(benchmark::State& state) {
    const auto texture = zor::test::fakeTexture(1, 256, 256);
    zor::CommonBatch batch(4096, 0.0f);
    const zor::PackedColor white(0xFFFFFFFFu);
    const zor::fpRect source(32, 32, 16, 16);
    const zor::fpVector2 pivot(8, 8);
    for (auto _ : state) {
        for (int i = 0; i < kQuads; ++i) {
            const float x = static_cast<float>(i % 64) * 10.0f;
            const float y = static_cast<float>(i / 64) * 10.0f;
            batch.drawPlaced(*texture, zor::makeAffine2D(x, y, 0.0f, 1.0f, 1.0f, 0.0f), source, pivot, white, 0);
        }
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
}

void BM_SpriteCreate(benchmark::State& state) {
    BenchManager manager;
    for (auto _ : state) {
        for (int i = 0; i < kTrees; ++i) benchmark::DoNotOptimize(manager.createSprite("creature"));
    }
    state.SetItemsProcessed(state.iterations() * kTrees);
}

} // namespace

BENCHMARK(BM_SpriteUpdate)->Arg(0)->Arg(1);
BENCHMARK(BM_SpriteDraw)->Arg(0)->Arg(1);
BENCHMARK(BM_SpriteUpdateAndDraw)->Arg(0)->Arg(1);
BENCHMARK(BM_SpriteMoveUpdateAndDraw)->Arg(0)->Arg(1);
BENCHMARK(BM_RawQuad);
BENCHMARK(BM_SpriteCreate);
