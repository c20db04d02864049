// Builds a menu item tree from every sprite of a fuzzed sprite set and drives it with
// pointer input drawn from the same bytes: whatever the layout, building, laying out,
// updating, input, states and draw hooks run without faults.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_menu_layout
//   build-fuzz/fuzz/fuzz_menu_layout -max_total_time=60

#include "Framework/graphics/sprite/SpriteSet.h"
#include "Framework/input/InputState.h"
#include "Framework/menu/GenericSwitchMenuItem.h"
#include "Framework/menu/MenuItemFactoryRegistry.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "fuzz/support/FuzzedSpriteSet.h"

#include <cstdint>

namespace {

// Pointer positions and kinds taken from the input bytes, cycling.
class ByteStream {
public:
    ByteStream(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t next() { return m_size == 0 ? 0 : m_data[m_position++ % m_size]; }
    float coordinate() { return static_cast<float>(next()) * 4.0f - 200.0f; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::shared_ptr<zor::SpriteSet> set = zor::fuzz::readFuzzedSpriteSet(data, size);
    if (!set) return 0;
    zor::registerMenuItemTypes();
    zor::fuzz::NoImages manager(*set);
    ByteStream bytes(data, size);
    const zor::NameParameters none;
    for (const auto& definition : set->definitions) {
        if (definition->descendantCount > 4096) continue;
        zor::MenuItemContext context;
        context.spriteManager = &manager;
        context.layoutSprite = new zor::Sprite;
        context.layoutSprite->initFromDefinition(*definition, manager);
        context.layoutSprite->update(0.0f, false);
        zor::GenericSwitchMenuItem root(&context, "", &none);
        root.setRect({-320.0f, -180.0f, 640.0f, 360.0f});
        root.setContentRect({-320.0f - bytes.coordinate(), -180.0f, 640.0f + bytes.coordinate(), 360.0f});
        for (const auto& label : definition->labels) root.setState(label.second);
        zor::InputState input;
        zor::UpdateRecord record;
        record.stepLength = 0.05f;
        for (int step = 0; step < 16; ++step) {
            const std::vector<zor::fpVector2> at{{bytes.coordinate(), bytes.coordinate()}};
            switch (bytes.next() % 4) {
            case 0: input.pointerPressed(at); break;
            case 1: input.pointerMoved(at); break;
            case 2: input.pointerReleased(at); break;
            default: break;
            }
            root.handleInput(input);
            context.layoutSprite->update(record.stepLength, false);
            root.update(record);
            root.draw();
            input.update(record.stepLength);
        }
        root.refreshTexts();
    }
    return 0;
}
