// The level physics at play size: 500 awake boxes in the tunnels of a 100 x 400-tile map,
// stepped with collisions (Euler and Runge-Kutta), and broadphase rectangle queries over
// the same scene. When Box2D is installed, the same boxes are stepped over static boxes
// where the tiles are solid, for comparison: compare the "body" counters (time per awake
// body and step) of Step/* and Box2D/*.
//
// The map: solid rock with a tunnel of four open rows in every ten rows, a one-tile step
// every eight columns on each tunnel floor. The boxes are 16 to 32 px wide and high, half
// sliding without friction, half bouncing (0.8), all colliding with each other; none sleeps.
// Each run starts from the same scene and lets it settle for one second before timing.

#include "game/definitions/NameEnumerations.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/physics/PhysicsSystem.h"
#include "game/world/physics/ShapePairTests.h"

#include "Framework/core/math/Randomizer.h"

#include <benchmark/benchmark.h>

#ifdef ZOR_HAVE_BOX2D
#include <box2d/box2d.h>
#endif

#include <memory>
#include <vector>

namespace {

using namespace zor;

constexpr std::int32_t MapColumns = 100;
constexpr std::int32_t MapRows = 400;
constexpr std::int32_t BodyCount = 500;
constexpr float StepLength = 1.0f / 60.0f;
constexpr float Gravity = 600.0f;
constexpr std::int32_t SettleSteps = 60;

bool isTunnel(std::int32_t column, std::int32_t row) {
    const std::int32_t inBand = row % 10;
    if (column == 0 || column == MapColumns - 1 || inBand < 1 || inBand > 4) return false;
    return !(inBand == 4 && column % 8 == 0);  // the steps
}

struct BoxSpec {
    fpRect rect;  // position and size in pixels
    fpVector2 velocity;
    bool bouncing;
};

std::vector<BoxSpec> scatterBoxes() {
    Randomizer random = Randomizer::fromSeed(20);
    std::vector<BoxSpec> boxes;
    while (std::int32_t(boxes.size()) < BodyCount) {
        const float width = random.nextFloatRange(16.0f, 32.0f);
        const float height = random.nextFloatRange(16.0f, 32.0f);
        const std::int32_t tunnel = std::int32_t(random.nextIndex(MapRows / 10));
        const std::int32_t column = 1 + std::int32_t(random.nextIndex(MapColumns - 2));
        const float x = float(column) * TileSize + random.nextFloatRange(0.0f, TileSize - width);
        // In the upper half of the tunnel, clear of the steps.
        const float y = float(tunnel * 10 + 1) * TileSize + random.nextFloatRange(0.0f, 80.0f - height);
        const fpVector2 velocity(random.nextFloatRange(-150.0f, 150.0f), random.nextFloatRange(-50.0f, 50.0f));
        boxes.push_back({{x, y, width, height}, velocity, boxes.size() % 2 == 1});
    }
    return boxes;
}

std::shared_ptr<PersistentTileMap> tunnelMap() {
    auto grid = std::make_shared<PersistentTileMap>(MapColumns, MapRows);
    for (std::int32_t row = 0; row < MapRows; ++row)
        for (std::int32_t column = 0; column < MapColumns; ++column)
            if (!isTunnel(column, row)) *grid->cell(column, row) = TileBits::Solid;
    return grid;
}

PhysicalBody bodyOf(AbstractShape* shape, std::uint32_t group, std::uint32_t mask) {
    PhysicalBody body;
    body.group = group;
    body.mask = mask;
    body.shape = shape;
    return body;
}

// Our physics over the tunnel map, as the level physics builds it.
class OurScene {
public:
    explicit OurScene(bool rungeKutta)
        : m_grid(tunnelMap()),
          physics(fpRect(0.0f, 0.0f, float(MapColumns) * TileSize, float(MapRows) * TileSize)) {
        installShapePairTests();
        const float width = float(MapColumns) * TileSize;
        const float height = float(MapRows) * TileSize;
        m_tiles.addBody(bodyOf(new TileMapShape(m_grid), CollisionGroup::Tiles, 0));
        m_bounds.addBody(bodyOf(new BoundsShape({0.0f, 0.0f, width, height + 500.0f}), CollisionGroup::Bounds, 0));
        physics.placeObject(m_tiles);
        physics.placeObject(m_bounds);
        const std::uint32_t mask = CollisionGroup::Tiles | CollisionGroup::Bounds | CollisionGroup::Items;
        for (const BoxSpec& spec : scatterBoxes()) {
            auto object = std::make_unique<PhysicalObject>();
            object->addBody(bodyOf(new RectShape({0.0f, 0.0f, spec.rect.w, spec.rect.h}, true),
                                   CollisionGroup::Items, mask));
            object->setPosition(spec.rect.position());
            object->velocity = spec.velocity;
            object->groundFriction = spec.bouncing ? 1.0f : 0.0f;
            object->bounciness = spec.bouncing ? 0.8f : 0.0f;
            object->highQualityIntegration = rungeKutta;
            object->linearAirResistance = rungeKutta ? 0.1f : 0.0f;
            physics.placeObject(*object);
            objects.push_back(std::move(object));
        }
        for (std::int32_t i = 0; i < SettleSteps; ++i) step();
    }

    void step() {
        for (const auto& object : objects) {
            object->gravity = {0.0f, Gravity};
            physics.stepObject(*object, StepLength, true);
        }
    }

private:
    std::shared_ptr<PersistentTileMap> m_grid;

public:
    PhysicsSystem physics;
    std::vector<std::unique_ptr<PhysicalObject>> objects;

private:
    PhysicalObject m_tiles;
    PhysicalObject m_bounds;
};

void reportPerBody(benchmark::State& state, std::int64_t bodies) {
    state.counters["body"] =
        benchmark::Counter(double(state.iterations() * bodies), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Step(benchmark::State& state, bool rungeKutta) {
    OurScene scene(rungeKutta);
    scene.physics.debugDraw(fpRect());  // counts from here
    std::int64_t awake = 0;
    for (auto _ : state) {
        scene.step();
        awake += scene.physics.awakeCount();
        scene.physics.debugDraw(fpRect());  // restarts the counters; draws nothing
    }
    if (awake != state.iterations() * BodyCount) state.SkipWithError("a body fell asleep");
    reportPerBody(state, BodyCount);
}
BENCHMARK_CAPTURE(Step, Euler, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Step, RungeKutta, true)->Unit(benchmark::kMicrosecond);

// Rectangles of 40 to 200 px anywhere in the map, 10,000 per iteration.
template <class Query>
void Queries(benchmark::State& state, Query query) {
    OurScene scene(false);
    Randomizer random = Randomizer::fromSeed(21);
    std::vector<fpRect> rects;
    for (std::int32_t i = 0; i < 10000; ++i) {
        const float width = random.nextFloatRange(40.0f, 200.0f);
        const float height = random.nextFloatRange(40.0f, 200.0f);
        rects.push_back({random.nextFloatRange(0.0f, 4000.0f - width), random.nextFloatRange(0.0f, 16000.0f - height),
                         width, height});
    }
    std::vector<PhysicalObject*> found;
    std::int64_t total = 0;
    for (auto _ : state) {
        for (const fpRect& rect : rects) {
            found.clear();
            query(scene.physics, rect, found);
            total += std::int64_t(found.size());
        }
    }
    benchmark::DoNotOptimize(total);
    state.counters["query"] = benchmark::Counter(double(state.iterations() * 10000),
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["found"] = double(total) / double(state.iterations() * 10000);
}

void QueryBodies(benchmark::State& state) {
    Queries(state, [](PhysicsSystem& physics, const fpRect& rect, std::vector<PhysicalObject*>& found) {
        physics.queryBodies(rect, CollisionGroup::Items, found);
    });
}
BENCHMARK(QueryBodies)->Unit(benchmark::kMicrosecond);

void QueryRect(benchmark::State& state) {
    Queries(state, [](PhysicsSystem& physics, const fpRect& rect, std::vector<PhysicalObject*>& found) {
        physics.queryRect(rect, CollisionGroup::Items | CollisionGroup::Tiles, found);
    });
}
BENCHMARK(QueryRect)->Unit(benchmark::kMicrosecond);

#ifdef ZOR_HAVE_BOX2D

// Box2D in metres: one tile is one metre; y grows downwards here too.
constexpr float MetresPerPixel = 1.0f / TileSize;

class Box2DScene {
public:
    Box2DScene() : world(b2Vec2(0.0f, Gravity * MetresPerPixel)) {
        world.SetAllowSleeping(false);
        b2BodyDef groundDef;
        b2Body* ground = world.CreateBody(&groundDef);
        for (std::int32_t row = 0; row < MapRows; ++row)
            for (std::int32_t column = 0; column < MapColumns; ++column) {
                if (isTunnel(column, row)) continue;
                b2PolygonShape tile;
                tile.SetAsBox(0.5f, 0.5f, b2Vec2(float(column) + 0.5f, float(row) + 0.5f), 0.0f);
                ground->CreateFixture(&tile, 0.0f);
            }
        for (const BoxSpec& spec : scatterBoxes()) {
            b2BodyDef def;
            def.type = b2_dynamicBody;
            def.fixedRotation = true;
            def.position.Set((spec.rect.x + spec.rect.w / 2.0f) * MetresPerPixel,
                             (spec.rect.y + spec.rect.h / 2.0f) * MetresPerPixel);
            def.linearVelocity.Set(spec.velocity.x * MetresPerPixel, spec.velocity.y * MetresPerPixel);
            b2Body* body = world.CreateBody(&def);
            b2PolygonShape box;
            box.SetAsBox(spec.rect.w / 2.0f * MetresPerPixel, spec.rect.h / 2.0f * MetresPerPixel);
            b2FixtureDef fixture;
            fixture.shape = &box;
            fixture.density = 1.0f;
            fixture.friction = spec.bouncing ? 0.6f : 0.0f;
            fixture.restitution = spec.bouncing ? 0.8f : 0.0f;
            body->CreateFixture(&fixture);
        }
        for (std::int32_t i = 0; i < SettleSteps; ++i) step();
    }

    void step() { world.Step(StepLength, 8, 3); }

    b2World world;
};

void Box2D(benchmark::State& state) {
    Box2DScene scene;
    for (auto _ : state) scene.step();
    std::int32_t awake = 0;
    for (const b2Body* body = scene.world.GetBodyList(); body; body = body->GetNext())
        awake += body->GetType() == b2_dynamicBody && body->IsAwake() ? 1 : 0;
    if (awake != BodyCount) state.SkipWithError("a body fell asleep");
    reportPerBody(state, BodyCount);
}
BENCHMARK(Box2D)->Unit(benchmark::kMicrosecond);

#endif

} // namespace
