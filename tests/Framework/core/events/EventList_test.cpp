#include "Framework/core/events/EventList.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zor {
namespace {

// Listeners record their name when called. Each listener's callable owns a
// token, so a node's freeing shows as its token expiring.
class EventListTest : public ::testing::Test {
protected:
    EventConnection listen(EventList<>& list, const std::string& name,
                           std::function<void()> during = {}) {
        auto token = std::make_shared<int>(0);
        tokens[name] = token;
        return list.connect(this, [name, token, during](EventListTest* self) {
            self->calls.push_back(name);
            if (during)
                during();
        });
    }
    EventConnection listen(const std::string& name, std::function<void()> during = {}) {
        return listen(list, name, std::move(during));
    }

    bool freed(const std::string& name) const { return tokens.at(name).expired(); }

    std::vector<std::string> fire() {
        calls.clear();
        list.fireNoArgs();
        return calls;
    }

    using Names = std::vector<std::string>;

    EventList<> list;
    std::vector<std::string> calls;
    std::map<std::string, std::weak_ptr<int>> tokens;
};

TEST_F(EventListTest, FiresNewestFirstAndAnEmptyListDoesNothing) {
    EXPECT_EQ(fire(), Names{});
    EventConnection a = listen("A");
    EventConnection b = listen("B");
    EventConnection c = listen("C");
    EXPECT_EQ(fire(), (Names{"C", "B", "A"}));
    EXPECT_EQ(fire(), (Names{"C", "B", "A"}));
}

TEST_F(EventListTest, AReleasedListenerIsSkippedAndFreedLazilyByTheNextFiring) {
    EventConnection a = listen("A");
    EventConnection b = listen("B");
    EventConnection c = listen("C");
    b.release();
    EXPECT_FALSE(freed("B")) << "a disconnection must not walk the list";
    EXPECT_EQ(list.linkedCount(), 3u) << "the dead node stays linked until the next firing";
    EXPECT_EQ(fire(), (Names{"C", "A"}));
    EXPECT_TRUE(freed("B"));
    EXPECT_EQ(list.linkedCount(), 2u);

    // Dead nodes at the head and at the tail are unlinked as well.
    c.release();
    a.release();
    EXPECT_EQ(fire(), Names{});
    EXPECT_TRUE(freed("A"));
    EXPECT_TRUE(freed("C"));
    EXPECT_TRUE(list.empty());
}

TEST_F(EventListTest, AListenerReleasingItselfFinishesItsCallAndTheFiringGoesOn) {
    EventConnection a = listen("A");
    EventConnection b;
    b = listen("B", [&b] { b.release(); });
    EventConnection c = listen("C");

    EXPECT_EQ(fire(), (Names{"C", "B", "A"}));
    EXPECT_FALSE(freed("B")) << "freed by the following firing, not during its own call";
    EXPECT_EQ(fire(), (Names{"C", "A"}));
    EXPECT_TRUE(freed("B"));
}

TEST_F(EventListTest, AListenerConnectedDuringAFiringIsCalledFirstInTheNextOne) {
    EventConnection d;
    EventConnection a = listen("A");
    EventConnection b = listen("B", [&] {
        if (!d)
            d = listen("D");
    });
    EventConnection c = listen("C");

    EXPECT_EQ(fire(), (Names{"C", "B", "A"}));
    EXPECT_EQ(fire(), (Names{"D", "C", "B", "A"}));
}

TEST_F(EventListTest, AListenerReleasedByAnEarlierCallbackIsNotCalled) {
    EventConnection a = listen("A");
    EventConnection b = listen("B");
    EventConnection c = listen("C", [&b] { b.release(); });

    EXPECT_EQ(fire(), (Names{"C", "A"}));
    EXPECT_TRUE(freed("B"));
}

TEST_F(EventListTest, ListenersReleasingEachOtherAroundTheCurrentNode) {
    // B drops its neighbours on both sides while it is being called.
    EventConnection a;
    EventConnection c;
    a = listen("A");
    EventConnection b = listen("B", [&] {
        a.release();
        c.release();
    });
    c = listen("C");

    EXPECT_EQ(fire(), (Names{"C", "B"}));
    EXPECT_TRUE(freed("A"));
    EXPECT_EQ(fire(), Names{"B"});
    EXPECT_TRUE(freed("C"));
}

struct Owner {
    EventList<> changed;
};

TEST_F(EventListTest, DestroyingTheOwnerFromACallbackStopsTheFiring) {
    auto owner = std::make_unique<Owner>();
    EventConnection a = listen(owner->changed, "A");
    EventConnection b = listen(owner->changed, "B", [&owner] { owner.reset(); });
    EventConnection c = listen(owner->changed, "C");

    owner->changed.fireNoArgs();
    EXPECT_EQ(calls, (Names{"C", "B"}));
    for (const char* name : {"A", "B", "C"})
        EXPECT_FALSE(freed(name)) << name << " is still held by its connection";

    b.release();
    EXPECT_TRUE(freed("B"));
    a.release();
    c.release();
    EXPECT_TRUE(freed("A"));
    EXPECT_TRUE(freed("C"));
}

TEST_F(EventListTest, ACallbackThatReleasesItselfAndDestroysTheOwnerFreesItsNodeOnReturn) {
    auto owner = std::make_unique<Owner>();
    EventConnection a = listen(owner->changed, "A");
    EventConnection b;
    b = listen(owner->changed, "B", [&] {
        b.release();
        owner.reset();
        EXPECT_FALSE(freed("B")) << "the firing still holds the node being called";
    });

    owner->changed.fireNoArgs();
    EXPECT_EQ(calls, Names{"B"});
    EXPECT_TRUE(freed("B"));
    EXPECT_FALSE(freed("A"));
}

TEST_F(EventListTest, DestroyingAListWithHeldListenersLeavesEachNodeToItsLastHolder) {
    auto owner = std::make_unique<Owner>();
    EventConnection a = listen(owner->changed, "A");
    EventConnection b = listen(owner->changed, "B");
    EventConnection bCopy = b;
    EventConnection dead = listen(owner->changed, "Dead");
    dead.release();

    owner.reset();
    EXPECT_TRUE(freed("Dead")) << "nobody held it, so the list freed it";
    EXPECT_FALSE(freed("A"));

    EventConnection copyAfterTheListWentAway = a;
    EXPECT_FALSE(copyAfterTheListWentAway);
    copyAfterTheListWentAway.release();
    EXPECT_FALSE(freed("A")) << "releasing an empty copy changes nothing";
    a.release();
    EXPECT_TRUE(freed("A"));

    b.release();
    EXPECT_FALSE(freed("B")) << "the copy still holds it";
    bCopy.release();
    EXPECT_TRUE(freed("B"));
}

TEST_F(EventListTest, CopiesHoldTheListenerAndCopiesOfReleasedHandlesAreEmpty) {
    EventConnection a = listen("A");
    EventConnection copy(a);
    EXPECT_TRUE(copy);
    a.release();
    EXPECT_FALSE(a);
    EXPECT_EQ(fire(), Names{"A"}) << "the copy keeps it connected";

    EventConnection copyOfReleased(a);
    EXPECT_FALSE(copyOfReleased);

    // Releasing twice must not drop the copy's hold.
    a.release();
    EXPECT_EQ(fire(), Names{"A"});

    // Assigning over a handle releases what it held.
    copy = copyOfReleased;
    EXPECT_EQ(fire(), Names{});
    EXPECT_TRUE(freed("A"));
}

TEST_F(EventListTest, MovingAHandleTransfersItsHoldAndAMoveAssignmentReleasesTheOldOne) {
    EventConnection a = listen("A");
    EventConnection moved(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(fire(), Names{"A"});

    EventConnection b = listen("B");
    moved = std::move(b);
    EXPECT_EQ(fire(), Names{"B"});
    EXPECT_TRUE(freed("A"));

    std::vector<EventConnection> kept;
    kept.push_back(std::move(moved));
    kept.push_back(listen("C"));
    EXPECT_EQ(fire(), (Names{"C", "B"}));
    kept.clear();
    EXPECT_EQ(fire(), Names{});
    EXPECT_TRUE(list.empty());
}

TEST_F(EventListTest, AThrowingCallbackLeavesTheFiringAndTheListStaysConsistent) {
    bool raise = true;
    EventConnection a = listen("A");
    EventConnection b = listen("B", [&raise] {
        if (raise)
            throw std::runtime_error("listener failed");
    });
    EventConnection c = listen("C");

    calls.clear();
    EXPECT_THROW(list.fireNoArgs(), std::runtime_error);
    EXPECT_EQ(calls, (Names{"C", "B"}));

    raise = false;
    EXPECT_EQ(fire(), (Names{"C", "B", "A"}));
    b.release();
    EXPECT_EQ(fire(), (Names{"C", "A"}));
    EXPECT_TRUE(freed("B")) << "the throw must not leave the firing's hold behind";
}

TEST_F(EventListTest, AThrowingCallbackThatDestroyedTheOwnerFreesItsReleasedNode) {
    auto owner = std::make_unique<Owner>();
    EventConnection b;
    b = listen(owner->changed, "B", [&] {
        b.release();
        owner.reset();
        throw std::runtime_error("gone");
    });
    EXPECT_THROW(owner->changed.fireNoArgs(), std::runtime_error);
    EXPECT_TRUE(freed("B"));
}

TEST_F(EventListTest, FiringAgainFromInsideACallback) {
    int depth = 0;
    EventConnection a = listen("A");
    EventConnection b;
    b = listen("B", [&] {
        if (depth++ == 0) {
            b.release();
            list.fireNoArgs();
        }
    });
    EventConnection c = listen("C");

    EXPECT_EQ(fire(), (Names{"C", "B", "C", "B", "A", "A"}));
    EXPECT_EQ(fire(), (Names{"C", "A"}));
    EXPECT_TRUE(freed("B"));
}

TEST_F(EventListTest, AnInnerFiringMayFreeTheNodeAfterTheCurrentOne) {
    bool again = true;
    EventConnection a = listen("A");
    EventConnection b = listen("B");
    EventConnection c = listen("C", [&] {
        if (std::exchange(again, false)) {
            b.release();
            list.fireNoArgs(); // unlinks and frees B while C is being called
        }
    });

    EXPECT_EQ(fire(), (Names{"C", "C", "A", "A"}));
    EXPECT_TRUE(freed("B"));
}

TEST(EventListArguments, CallbacksGetTheArgumentsAndTheirOwnCopyOfByValueText) {
    EventList<std::string, int> renamed;
    std::vector<std::string> seen;
    auto edit = [](std::vector<std::string>* out, std::string text, int n) {
        text += "!";
        out->push_back(text + std::to_string(n));
    };
    EventConnection first = renamed.connect(&seen, edit);
    EventConnection second = renamed.connect(&seen, edit);

    renamed.fire("lamp", 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"lamp!3", "lamp!3"}));
}

class Gauge {
public:
    void onLevel(int level) { levels.push_back(level); }
    void onReset() { ++resets; }

    std::vector<int> levels;
    int resets = 0;
};

TEST(EventListArguments, MemberFunctionsAndFreeFunctionsTakingTheUser) {
    EventList<int> level;
    EventList<> reset;
    Gauge gauge;
    std::vector<EventConnection> connections;
    connections.push_back(level.connect(&gauge, &Gauge::onLevel));
    connections.push_back(reset.connect(&gauge, &Gauge::onReset));
    void (*twice)(Gauge*, int) = [](Gauge* g, int n) { g->levels.push_back(2 * n); };
    connections.push_back(level.connect(&gauge, twice));

    level.fire(21);
    reset.fireNoArgs();
    EXPECT_EQ(gauge.levels, (std::vector<int>{42, 21}));
    EXPECT_EQ(gauge.resets, 1);

    connections.clear();
    level.fire(5);
    EXPECT_EQ(gauge.levels.size(), 2u);
}

} // namespace
} // namespace zor
