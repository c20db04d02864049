#include "Framework/core/events/SystemEvents.h"
#include "Framework/input/InputState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace zor {
namespace {

constexpr float Step = 1.0f / 60.0f;

// Drives the recognizer the way the poll does: one optional pointer position per step
// (present while the button is down), then the end of the step.
class PointerScript {
public:
    PointerScript() { input.init(); }

    // Runs the poll part of a step; check the records, then call endStep().
    void poll(std::optional<fpVector2> position) {
        if (position) {
            if (m_wasDown)
                input.pointerMoved({*position});
            else
                input.pointerPressed({*position});
            m_last = *position;
        } else if (m_wasDown) {
            input.pointerReleased({m_last});
        }
        m_wasDown = position.has_value();
    }
    void endStep(float dt = Step) { input.update(dt); }
    const PointerGestures& g() const { return input.gestures(); }

    SystemEvents events; // init() follows the screen through it
    InputState input;

private:
    bool m_wasDown = false;
    fpVector2 m_last;
};

// "D" down, "W" went down, "R" released, "T" tap, "H" hold, "G" drag, "F" flick.
std::string records(const PointerGestures& g) {
    std::string text;
    if (g.down.active) text += 'D';
    if (g.down.wentDown) text += 'W';
    if (g.release.active) text += 'R';
    if (g.tap.active) text += 'T';
    if (g.hold.active) text += 'H';
    if (g.drag.active) text += 'G';
    if (g.flick.active) text += 'F';
    return text;
}

TEST(PointerGestures, ClickHeldStillTimeline) {
    struct Row {
        int steps;    // how many steps this row covers
        bool down;    // button down during them
        const char* expected;
    } rows[] = {
        {1, true, "DW"},   // the press
        {1, true, "D"},    // second step: drag tracking starts, no record yet
        {10, true, "DG"},  // from the third step: drag with zero delta
        {1, true, "DG"},   // step 13 starts at 0.2 s: not yet beyond the tap time
        {1, true, "DHG"},  // hold from the first end of step after 0.2 s (set at the end of 13)
        {10, true, "DHG"},
        {1, false, "DRH"}, // release: pointer released, no tap (held too long); hold set at the last end of step
        {1, false, ""},
    };
    PointerScript s;
    int step = 1;
    for (const Row& row : rows) {
        for (int i = 0; i < row.steps; ++i, ++step) {
            s.poll(row.down ? std::optional<fpVector2>(fpVector2{100, 50}) : std::nullopt);
            EXPECT_EQ(records(s.g()), row.expected) << "step " << step;
            if (s.g().drag.active) {
                EXPECT_EQ(s.g().drag.delta, fpVector2(0, 0)) << "step " << step;
            }
            s.endStep();
        }
    }
}

TEST(PointerGestures, QuickClickTapsAndFlicksInTheSameStep) {
    PointerScript s;
    s.poll(fpVector2{10, 10});
    s.endStep();
    s.poll(fpVector2{14, 13}); // 5 design pixels away
    s.endStep();
    s.poll(std::nullopt);
    EXPECT_EQ(records(s.g()), "DRTF");
    EXPECT_EQ(s.g().tap.position, fpVector2(14, 13));
    EXPECT_EQ(s.g().release.position, fpVector2(14, 13));
    EXPECT_EQ(s.g().flick.start, fpVector2(10, 10));
    EXPECT_EQ(s.g().flick.vector, fpVector2(4, 3));
    s.endStep();
    EXPECT_EQ(records(s.g()), "") << "the release step's records last one step";
}

TEST(PointerGestures, TapNeedsShortTimeAndSmallLargestDistance) {
    struct Case {
        const char* what;
        std::vector<fpVector2> path; // positions while down, one per step
        bool tap;
        bool flick;
    } cases[] = {
        {"still, 3 steps", {{0, 0}, {0, 0}, {0, 0}}, true, true},
        {"moved exactly 6", {{0, 0}, {6, 0}}, true, true},
        {"moved 7 and came back", {{0, 0}, {7, 0}, {0, 0}}, false, true},
        {"12 steps (0.2 s at release)", std::vector<fpVector2>(12, fpVector2{0, 0}), false, true},
        {"11 steps", std::vector<fpVector2>(11, fpVector2{0, 0}), true, true},
        {"15 steps (0.25 s at release)", std::vector<fpVector2>(15, fpVector2{0, 0}), false, false},
        {"14 steps", std::vector<fpVector2>(14, fpVector2{0, 0}), false, true},
    };
    for (const Case& c : cases) {
        PointerScript s;
        for (const fpVector2& p : c.path) {
            s.poll(p);
            s.endStep();
        }
        s.poll(std::nullopt);
        EXPECT_EQ(s.g().tap.active, c.tap) << c.what;
        EXPECT_EQ(s.g().flick.active, c.flick) << c.what;
        EXPECT_TRUE(s.g().release.active) << c.what;
    }
}

TEST(PointerGestures, DragDeltasSumToTheDistanceFromTheSecondStep) {
    PointerScript s;
    const std::vector<fpVector2> path = {{0, 0}, {3, 1}, {8, 4}, {8, 4}, {20, -6}, {25, -6}};
    fpVector2 sum;
    for (const fpVector2& p : path) {
        s.poll(p);
        if (s.g().drag.active) {
            sum += s.g().drag.delta;
            EXPECT_EQ(s.g().drag.start, path[1]);
            EXPECT_EQ(s.g().drag.position, p);
        }
        s.endStep();
    }
    EXPECT_EQ(sum, path.back() - path[1]);
    s.poll(std::nullopt);
    EXPECT_FALSE(s.g().drag.active);
    EXPECT_FALSE(s.g().tap.active) << "moved far";
}

TEST(PointerGestures, ClickShorterThanAStep) {
    PointerScript s;
    s.poll(fpVector2{5, 5});
    EXPECT_EQ(records(s.g()), "DW");
    s.endStep();
    s.poll(std::nullopt);
    EXPECT_EQ(records(s.g()), "DRTF") << "down stays until the end of the release step";
    s.endStep();
    EXPECT_EQ(records(s.g()), "");
    EXPECT_TRUE(s.input.isIdle());
}

TEST(PointerGestures, ZeroLengthStepsStillGiveAFiniteFlick) {
    PointerScript s;
    s.poll(fpVector2{0, 0});
    s.endStep(0.0f);
    s.poll(fpVector2{30, 40});
    s.endStep(0.0f);
    s.poll(std::nullopt);
    ASSERT_TRUE(s.g().flick.active);
    EXPECT_EQ(s.g().flick.vector, fpVector2(30, 40));
    EXPECT_TRUE(std::isfinite(s.g().flick.vector.x) && std::isfinite(s.g().flick.vector.y));
    EXPECT_FALSE(s.g().tap.active) << "moved 50 pixels";
}

TEST(PointerGestures, ContactsFollowThePointerAndExpireWhenForgotten) {
    PointerScript s;
    s.poll(fpVector2{1, 1});
    ASSERT_EQ(s.g().contacts.size(), 1u);
    EXPECT_EQ(s.g().contacts[0].isNew, 1);
    s.endStep();
    s.poll(fpVector2{2, 2});
    EXPECT_EQ(s.g().contacts[0].isNew, 0);
    EXPECT_EQ(s.g().contacts[0].position, fpVector2(2, 2));
    EXPECT_EQ(s.g().contacts[0].age, 0.0f);
    s.endStep();
    s.poll(std::nullopt);
    EXPECT_TRUE(s.g().contacts.empty()) << "the release removes the nearest contact";

    // A press whose release never arrives: the contact stops being updated and goes
    // once it is more than 2 s old.
    InputState input;
    input.pointerPressed({fpVector2{0, 0}});
    for (int step = 1; step <= 8; ++step) input.update(0.25f);
    EXPECT_EQ(input.gestures().contacts.size(), 1u) << "exactly 2 s old";
    input.update(0.25f);
    EXPECT_TRUE(input.gestures().contacts.empty());
}

TEST(PointerGestures, InitForgetsAPressInProgress) {
    PointerScript s;
    s.poll(fpVector2{0, 0});
    s.endStep();
    s.input.init();
    EXPECT_FALSE(s.g().down.active);
    s.poll(std::nullopt);
    EXPECT_FALSE(s.g().release.active);
    EXPECT_FALSE(s.g().tap.active);
    EXPECT_FALSE(s.g().flick.active);
}

} // namespace
} // namespace zor
