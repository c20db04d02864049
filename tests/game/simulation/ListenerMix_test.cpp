// How loud and where the listener hears a sound.

#include "game/simulation/audio/ListenerMix.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(ListenerMix, PanByTheSideAndVolumeByTheDistance) {
    const fpVector2 listener(1000, 500);
    const struct {
        const char* what;
        fpVector2 point;
        float range;
        float volume;
        float pan;
    } cases[] = {
        {"at the listener", {1000, 500}, 0, 1.0f, 0.0f},
        {"straight above", {1000, 300}, 0, 1.0f - 0.8f * 200 / 400, 0.0f},
        {"a quarter view to the right", {1160, 500}, 0, 1.0f - 0.8f * 160 / 400, 1.0f},
        {"further left", {700, 500}, 0, 1.0f - 0.8f * 300 / 400, -1.0f},
        {"an eighth view to the left", {920, 500}, 0, 1.0f - 0.8f * 80 / 400, -0.5f},
        {"silent from 0.625 ranges", {1000, 1000}, 0, 0.0f, 0.0f},
        {"out of range", {1000, 1400}, 0, 0.0f, 0.0f},
        {"a range of its own", {1000, 550}, 100, 0.2f, 0.0f},
    };
    for (const auto& c : cases) {
        const ListenerMix mix = listenerMix(listener, c.point, c.range, 640.0f);
        EXPECT_NEAR(mix.volume, c.volume, 1e-5f) << c.what;
        EXPECT_NEAR(mix.pan, c.pan, 1e-6f) << c.what;
    }
    // Without a view there is no range: nothing is heard, and nothing is not a number.
    const ListenerMix none = listenerMix(listener, listener, 0, 0);
    EXPECT_EQ(none.volume, 0.0f);
    EXPECT_EQ(none.pan, 0.0f);
}

} // namespace
} // namespace zor
