#include "Framework/input/InputState.h"
#include "Framework/system/SystemHandlers.h"
#include "Framework/system/surface/StateMachine.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

// Every state made and deleted, in order: "+3" made state 3, "-3" deleted it.
std::vector<std::string> g_events;

class RecordingState : public StateSurface {
public:
    explicit RecordingState(std::int32_t id) : m_id(id) { g_events.push_back("+" + std::to_string(id)); }
    ~RecordingState() override { g_events.push_back("-" + std::to_string(m_id)); }

private:
    std::int32_t m_id;
};

class StateMachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        stateFactories().clear();
        for (std::int32_t id = 0; id < NoState; ++id)
            registerStateFactory(id, [id](StateRequestFunction request, SystemComponents*) -> std::unique_ptr<StateSurface> {
                EXPECT_TRUE(bool(request));
                return std::make_unique<RecordingState>(id);
            });
        resetStateMachine();
    }
    void TearDown() override {
        resetStateMachine();
        stateFactories().clear();
        setQuitHandler(nullptr);
    }

    // Runs steps of dt until no fade runs; returns how many it took.
    static int settle(float dt) {
        int steps = 0;
        while (stateMachine().fadePhase != FadeNone && steps < 100) {
            updateFade(dt);
            ++steps;
        }
        return steps;
    }

    static std::int32_t currentId() { return stateMachine().currentStateId; }
};

TEST_F(StateMachineTest, FirstStepCreatesStateZeroAndFadesItIn) {
    EXPECT_EQ(stateMachine().currentStateId, NoState);
    EXPECT_EQ(stateMachine().fadeLevel, 1.0f);
    EXPECT_TRUE(updateFade(0.0f));
    EXPECT_EQ(currentId(), StateLogos);
    ASSERT_TRUE(stateMachine().currentSurface);
    EXPECT_EQ(stateMachine().fadePhase, FadeIn);
    EXPECT_EQ(stateMachine().fadeLevel, 1.0f);
    EXPECT_EQ(g_events, std::vector<std::string>({"+0"}));
}

TEST_F(StateMachineTest, FadeTimeline) {
    settle(0.1f);
    g_events.clear();
    requestState({RequestState, 2});
    struct Step {
        bool created;
        std::int32_t phase;
        float level;
        std::int32_t current;
    };
    // dt 0.1: out at 0.1 / 0.2375 and 0.2 / 0.2375, switch at 0.3, then in.
    const Step timeline[] = {
        {false, FadeOut, 0.1f / 0.2375f, 0},
        {false, FadeOut, 0.2f / 0.2375f, 0},
        {true, FadeIn, 1.0f, 2},
        {false, FadeIn, 1.0f - 0.1f / 0.2375f, 2},
        {false, FadeIn, 1.0f - 0.2f / 0.2375f, 2},
        {false, FadeNone, 0.0f, 2},
    };
    int index = 0;
    for (const Step& step : timeline) {
        SCOPED_TRACE(index++);
        EXPECT_EQ(updateFade(0.1f), step.created);
        EXPECT_EQ(stateMachine().fadePhase, step.phase);
        EXPECT_NEAR(stateMachine().fadeLevel, step.level, 1e-6f);
        EXPECT_EQ(currentId(), step.current);
    }
    EXPECT_EQ(g_events, std::vector<std::string>({"-0", "+2"}));
    EXPECT_EQ(stateMachine().fadeTimer, 0.0f);
}

TEST_F(StateMachineTest, LevelIsFullBlackBeforeTheFadeOutEnds) {
    settle(0.1f);
    requestState({RequestState, 1});
    updateFade(0.24f);  // past 0.2375, short of 0.25
    EXPECT_EQ(stateMachine().fadeLevel, 1.0f);
    EXPECT_EQ(currentId(), StateLogos);
}

TEST_F(StateMachineTest, RequestKinds) {
    struct Case {
        const char* what;
        std::int32_t startState;
        StateRequest request;
        std::int32_t pending;
        std::int32_t phase;
        float timer;
        float level;
    };
    const Case cases[] = {
        {"next state", 2, {RequestNextState, 0}, 3, FadeOut, 0.0f, 0.0f},
        {"next after the last is the first", 5, {RequestNextState, 0}, 0, FadeOut, 0.0f, 0.0f},
        {"state n", 0, {RequestState, 4}, 4, FadeOut, 0.0f, 0.0f},
        {"unknown ids mean the first state", 3, {RequestState, 9}, 0, FadeOut, 0.0f, 0.0f},
        {"negative ids too", 3, {RequestState, -1}, 0, FadeOut, 0.0f, 0.0f},
        {"at once: black now, switch next step", 0, {RequestStateAtOnce, 5}, 5, FadeOut, 0.25f, 1.0f},
        {"at once with a negative id", 0, {RequestStateAtOnce, -7}, 0, FadeOut, 0.25f, 1.0f},
        {"reload", 4, {RequestReload, 0}, 4, FadeOut, 0.0f, 0.0f},
        {"unknown kinds do nothing", 1, {7, 3}, 1, FadeNone, 0.0f, 0.0f},
        {"negative kinds do nothing", 1, {-1, 3}, 1, FadeNone, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetStateMachine();
        stateMachine().pendingStateId = c.startState;
        settle(0.1f);
        ASSERT_EQ(currentId(), c.startState);
        EXPECT_EQ(requestState(c.request), 0);
        EXPECT_EQ(stateMachine().pendingStateId, c.pending);
        EXPECT_EQ(stateMachine().fadePhase, c.phase);
        EXPECT_EQ(stateMachine().fadeTimer, c.timer);
        EXPECT_EQ(stateMachine().fadeLevel, c.level);
        settle(0.1f);
        EXPECT_EQ(currentId(), c.pending);
        EXPECT_TRUE(stateMachine().currentSurface);
    }
}

TEST_F(StateMachineTest, QuitCallsTheQuitHandlerAndNothingElse) {
    settle(0.1f);
    int quits = 0;
    requestState({RequestQuit, 0});  // no handler installed: nothing happens
    setQuitHandler([&quits] { ++quits; });
    requestState({RequestQuit, 3});
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(stateMachine().fadePhase, FadeNone);
    EXPECT_EQ(currentId(), StateLogos);
}

TEST_F(StateMachineTest, RequestsDuringFades) {
    settle(0.1f);
    // Two requests in one step: the first wins.
    requestState({RequestState, 1});
    requestState({RequestState, 2});
    EXPECT_EQ(stateMachine().pendingStateId, 1);

    // At once while fading out: replaces the pending state and switches in the next step.
    updateFade(0.1f);
    requestState({RequestStateAtOnce, 3});
    EXPECT_TRUE(updateFade(0.0f));
    EXPECT_EQ(currentId(), 3);

    // A request while fading in turns it into a fade-out from the start.
    updateFade(0.1f);
    ASSERT_EQ(stateMachine().fadePhase, FadeIn);
    requestState({RequestState, 4});
    EXPECT_EQ(stateMachine().fadePhase, FadeOut);
    EXPECT_EQ(stateMachine().fadeTimer, 0.0f);
    settle(0.1f);
    EXPECT_EQ(currentId(), 4);
}

TEST_F(StateMachineTest, ReloadDeletesAndRecreatesTheSameStateWithAFullFade) {
    settle(0.1f);
    g_events.clear();
    requestState({RequestReload, 0});
    EXPECT_EQ(settle(0.0625f), 8);  // four steps out, four in
    EXPECT_EQ(g_events, std::vector<std::string>({"-0", "+0"}));
}

TEST_F(StateMachineTest, NumberWithoutFactoryLeavesNoState) {
    stateFactories().erase(2);
    settle(0.1f);
    requestState({RequestState, 2});
    settle(0.1f);
    EXPECT_EQ(currentId(), 2);
    EXPECT_FALSE(stateMachine().currentSurface);
}

TEST_F(StateMachineTest, FactoriesAreRegisteredOnlyOnce) {
    bool replacementUsed = false;
    EXPECT_FALSE(registerStateFactory(0, [&replacementUsed](StateRequestFunction, SystemComponents*) {
        replacementUsed = true;
        return std::unique_ptr<StateSurface>();
    }));
    settle(0.1f);
    EXPECT_FALSE(replacementUsed);
    EXPECT_TRUE(stateMachine().currentSurface);
}

// A child that records whether it was offered input and answers as told.
class Child : public AbstractSurface {
public:
    Child(bool takes, std::vector<int>& offers, int id) : m_takes(takes), m_offers(offers), m_id(id) {}
    ~Child() override { m_offers.push_back(-m_id); }
    bool handleInput(InputState&) override {
        m_offers.push_back(m_id);
        return m_takes;
    }

private:
    bool m_takes;
    std::vector<int>& m_offers;
    int m_id;
};

class Parent : public AbstractSurface {};

TEST(UpdateRecordTest, InverseStep) {
    struct Case {
        float step, inverse;
    };
    const Case cases[] = {{0.0f, 0.0f}, {-0.0f, 0.0f}, {0.5f, 2.0f}, {0.25f, 4.0f}, {0.1f, 1.0f / 0.1f}};
    for (const Case& c : cases) {
        UpdateRecord record;
        record.stepLength = c.step;
        EXPECT_EQ(record.inverseStep(), c.inverse) << c.step;
    }
}

TEST(AbstractSurface, FirstChildThatTakesTheInputWins) {
    std::vector<int> offers;
    InputState input;
    {
        Parent parent;
        EXPECT_FALSE(parent.handleInput(input));
        parent.addChild(std::make_unique<Child>(false, offers, 1));
        parent.addChild(std::make_unique<Child>(true, offers, 2));
        parent.addChild(std::make_unique<Child>(true, offers, 3));
        EXPECT_TRUE(parent.handleInput(input));
        EXPECT_EQ(offers, std::vector<int>({1, 2}));
        offers.clear();
    }
    // Children are deleted in list order.
    EXPECT_EQ(offers, std::vector<int>({-1, -2, -3}));
}

} // namespace
} // namespace zor
