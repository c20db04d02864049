#include "Framework/graphics/sprite/Sprite.h"

#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace zor {
namespace {

// A node whose timeline runs from frame 0 to 3 at 10 frames a second.
const char* const clipXml = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="clip" Frames="4">
    <Label Frame="0" Text="stand"/><Label Frame="2" Text="walk"/>
    <Child Name="c" Sprite="leaf" Life="0;3"/>
  </Sprite>
  <Sprite Name="leaf"/>
</SpriteSet>)";

struct PlaybackCase {
    const char* name;
    std::function<void(Sprite&)> run;
    std::uint32_t frame;
    float time;
    bool playing;
    bool finished;
    bool once;
};

TEST(SpritePlayback, FramesFollowTimeSpeedAndMode) {
    const PlaybackCase cases[] = {
        {"play advances whole frames", [](Sprite& s) { s.play(); s.update(0.25f, false); }, 2, 0.25f, true, false, false},
        {"a loop wraps its time past the end and shows frame 0",
         [](Sprite& s) { s.play(); s.update(0.45f, false); }, 0, std::fmod(0.45f, 0.4f), true, false, false},
        {"play-once stops on the last frame with its time past the end",
         [](Sprite& s) { s.playOnce(); s.update(0.45f, false); }, 3, 0.45f, false, true, true},
        {"negative speed shows the last frame and wraps keeping the sign",
         [](Sprite& s) { s.play(); s.setSpeed(-1.0f); s.update(0.15f, false); }, 3, -0.15f, true, false, false},
        {"less than a frame backwards still rounds to frame 0",
         [](Sprite& s) { s.play(); s.setSpeed(-1.0f); s.update(0.05f, false); }, 0, -0.05f, true, false, false},
        {"half speed", [](Sprite& s) { s.play(); s.setSpeed(0.5f); s.update(0.5f, false); }, 2, 0.25f, true, false, false},
        {"playFromFrame clamps to the last frame and keeps finished",
         [](Sprite& s) { s.playOnce(); s.update(1.0f, false); s.playFromFrame(100, true); }, 3, 0.3f, true, true, true},
        {"setFrame clamps and stops",
         [](Sprite& s) { s.play(); s.setFrame(100); s.update(1.0f, false); }, 3, 0.3f, false, false, false},
        {"setFrameByName stops on the animation's first frame",
         [](Sprite& s) { s.play(); EXPECT_TRUE(s.setFrameByName("walk")); }, 2, 0.2f, false, false, false},
        {"an unknown animation changes nothing",
         [](Sprite& s) { s.setFrame(1); EXPECT_FALSE(s.setFrameByName("run")); }, 1, 0.1f, false, false, false},
        {"restart loops from 0 and keeps finished",
         [](Sprite& s) { s.playOnce(); s.update(1.0f, false); s.restart(); }, 0, 0.0f, true, true, false},
        {"resetToStart clears finished and keeps the mode",
         [](Sprite& s) { s.playOnce(); s.update(1.0f, false); s.resetToStart(); }, 0, 0.0f, false, false, true},
        {"a stopped node stands still", [](Sprite& s) { s.update(1.0f, false); }, 0, 0.0f, false, false, false},
    };
    test::TestTrees trees(clipXml);
    for (const PlaybackCase& c : cases) {
        SCOPED_TRACE(c.name);
        SpritePtr sprite = trees.make("clip");
        ASSERT_EQ(sprite->lastFrame(), 3u);
        ASSERT_FLOAT_EQ(sprite->frameTime(), 0.1f);
        c.run(*sprite);
        EXPECT_EQ(sprite->currentFrame(), c.frame);
        EXPECT_NEAR(sprite->time(), c.time, 1e-6f);
        EXPECT_EQ(sprite->isPlaying(), c.playing);
        EXPECT_EQ(sprite->isFinished(), c.finished);
        EXPECT_EQ(sprite->isPlayOnce(), c.once);
    }
}

TEST(SpritePlayback, ANodeWithoutTimelineFinishesAtOnceOrStaysOnFrame0) {
    test::TestTrees trees(clipXml);
    SpritePtr once = trees.make("leaf");
    ASSERT_EQ(once->lastFrame(), 0u);
    once->playOnce();
    once->update(0.01f, false);
    EXPECT_FALSE(once->isPlaying());
    EXPECT_TRUE(once->isFinished());

    SpritePtr looping = trees.make("leaf");
    looping->play();
    looping->update(5.0f, false);
    EXPECT_TRUE(looping->isPlaying());
    EXPECT_EQ(looping->currentFrame(), 0u);
    EXPECT_EQ(looping->time(), 0.0f);
}

TEST(SpritePlayback, RestartAndResetReachTheWholeTree) {
    test::TestTrees trees(clipXml);
    SpritePtr sprite = trees.make("clip");
    Sprite& child = sprite->child(0);
    child.playOnce();
    child.setCueMarker(2.0f);
    sprite->restart();
    EXPECT_TRUE(child.isPlaying());
    EXPECT_FALSE(child.isPlayOnce());
    sprite->resetToStart();
    EXPECT_EQ(child.cueMarker(), -1.0f);
    EXPECT_EQ(sprite->cueMarker(), -1.0f);
}

// Keys of one child, at 10 frames a second.
const char* const slideXml = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="slide">
    <Child Name="s" Sprite="leaf" Life="0;7">
      <Key Frames="0;0" Position="0;0"/>
      <Key Frames="1;1" Position="10;0" Color="1;1;1;0"/>
      <Key Frames="2;3" Position="20;0"/>
      <Key Frames="4;6" Position="40;0"/>
      <Key Frames="7;7" Position="70;0"/>
    </Child>
  </Sprite>
  <Sprite Name="turn">
    <Child Name="t" Sprite="leaf" Life="0;1">
      <Key Frames="0;0" Rotation="171.88733853924697"/>
      <Key Frames="1;1" Rotation="-171.88733853924697"/>
    </Child>
  </Sprite>
  <Sprite Name="flip">
    <Child Name="f" Sprite="leaf" Life="0;1">
      <Key Frames="0;0" Scale="1;1" Rotation="0"/>
      <Key Frames="1;1" Scale="-1;1" Rotation="57.29577951308232"/>
    </Child>
  </Sprite>
  <Sprite Name="search">
    <Child Name="k" Sprite="leaf" Life="0;4">
      <Key Frames="2;3" Position="1;0"/>
      <Key Frames="0;1" Position="2;0"/>
      <Key Frames="2;3" Position="3;0"/>
    </Child>
  </Sprite>
  <Sprite Name="leaf"/>
</SpriteSet>)";

// The child's x after the parent has played `time` seconds.
float slideX(test::TestTrees& trees, float time, bool interpolate) {
    SpritePtr sprite = trees.make("slide");
    sprite->setInterpolation(interpolate);
    sprite->play();
    sprite->update(time, false);
    return sprite->child(0).worldMatrix()[12];
}

TEST(SpriteKeys, InterpolationBlendsOnlyDuringAKeysLastFrame) {
    const struct {
        float time;
        bool interpolate;
        float x;
    } cases[] = {
        {0.15f, false, 10.0f},  // without interpolation the key of the frame holds
        {0.05f, true, 5.0f},    // half way from key 0 to key 1
        {0.15f, true, 15.0f},
        {0.25f, true, 20.0f},   // frame 2 is not the last of key 2..3: still
        {0.35f, true, 30.0f},   // frame 3 is: towards key 4..6
        {0.45f, true, 40.0f},
        {0.55f, true, 40.0f},
        {0.65f, true, 55.0f},
        {0.75f, true, 70.0f},   // the last key has nothing to blend towards
    };
    test::TestTrees trees(slideXml);
    for (const auto& c : cases) {
        EXPECT_NEAR(slideX(trees, c.time, c.interpolate), c.x, 1e-3f) << "time " << c.time;
    }
}

TEST(SpriteKeys, ColourBlendsAndPacksPremultiplied) {
    test::TestTrees trees(slideXml);
    SpritePtr sprite = trees.make("slide");
    sprite->setInterpolation(true);
    sprite->play();
    sprite->update(0.05f, false);
    const Sprite& child = sprite->child(0);
    EXPECT_NEAR(child.worldColor()[3], 0.5f, 1e-4f);
    EXPECT_EQ(child.packedColor(), PackedColor::fromChannels(127, 127, 127, 127));
}

TEST(SpriteKeys, RotationTurnsTheShortWayUnlessTheScaleFlips) {
    test::TestTrees trees(slideXml);
    SpritePtr turn = trees.make("turn");
    turn->setInterpolation(true);
    turn->play();
    turn->update(0.05f, false);
    // Half way from 3 to -3 radians is pi, not 0.
    EXPECT_NEAR(turn->child(0).worldMatrix()[0], -1.0f, 1e-4f);

    SpritePtr flip = trees.make("flip");
    flip->setInterpolation(true);
    flip->play();
    flip->update(0.025f, false);
    // A quarter of the way: scale x 0.5 and the next key's rotation of 1 radian.
    const fpMatrix4& m = flip->child(0).worldMatrix();
    EXPECT_NEAR(m[0], 0.5f * std::cos(1.0f), 1e-4f);
    EXPECT_NEAR(m[1], 0.5f * std::sin(1.0f), 1e-4f);
}

TEST(SpriteKeys, SearchStartsAtThePresentKeyAndFallsBackToKey0) {
    test::TestTrees trees(slideXml);
    SpritePtr sprite = trees.make("search");
    const Sprite& child = sprite->child(0);
    const auto xAtFrame = [&](std::uint32_t frame) {
        sprite->setFrame(frame);
        sprite->update(0.0f, false);
        return child.worldMatrix()[12];
    };
    EXPECT_EQ(xAtFrame(2), 1.0f);  // from key 0 on, key 0 holds frame 2
    EXPECT_EQ(xAtFrame(0), 2.0f);
    EXPECT_EQ(xAtFrame(2), 3.0f);  // from key 1 on, key 2 is the first to hold it
    EXPECT_EQ(xAtFrame(4), 1.0f);  // none holds frame 4: key 0
    EXPECT_EQ(child.keyIndex(), 0);
}

TEST(SpriteKeys, AChildOutOfItsLifeRecomposesWhenItComesBack) {
    test::TestTrees trees(R"(<SpriteSet FramesPerSecond="10">
      <Sprite Name="late"><Child Name="c" Sprite="leaf" Life="2;3" Position="1;0"/></Sprite>
      <Sprite Name="leaf"/>
    </SpriteSet>)");
    SpritePtr sprite = trees.make("late");
    Sprite& child = sprite->child(0);
    sprite->setFrame(2);
    sprite->update(0.0f, false);
    EXPECT_EQ(child.worldMatrix()[12], 1.0f);
    EXPECT_FALSE(child.isDirty());

    sprite->setFrame(0);
    sprite->update(0.0f, false);
    EXPECT_TRUE(child.isDirty()) << "marked while out of range";
    sprite->setPosition(5.0f, 0.0f);
    sprite->update(0.0f, false);
    sprite->update(0.0f, false);  // the parent is clean again before the child returns
    EXPECT_EQ(child.worldMatrix()[12], 1.0f) << "not composed while out of range";

    sprite->setFrame(2);
    sprite->update(0.0f, false);
    EXPECT_FALSE(child.isDirty());
    EXPECT_EQ(child.worldMatrix()[12], 6.0f);

    // Forced updates reach children out of range too.
    sprite->setFrame(0);
    sprite->setPosition(7.0f, 0.0f);
    sprite->update(0.0f, true);
    EXPECT_EQ(child.worldMatrix()[12], 8.0f);
    sprite->update(0.0f, false);
    EXPECT_TRUE(child.isDirty()) << "marked again by the next update that is not forced";
}

// A body whose keys move, turn, scale, flip and fade, with a hand whose own keys follow
// the body's timeline.
const char* const dancerXml = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="dancer" Frames="8">
    <Child Name="body" Sprite="limb" Life="0;7">
      <Key Frames="0;1" Position="0;0" Rotation="10"/>
      <Key Frames="2;3" Position="4;1" Rotation="40" Scale="1.5;1" Color="1;0.5;1;0.8"/>
      <Key Frames="4;6" Position="-3;2" Rotation="-20" Scale="-1;1"/>
      <Key Frames="7;7" Position="0;5" Rotation="170"/>
    </Child>
  </Sprite>
  <Sprite Name="limb" Frames="4">
    <Child Name="hand" Sprite="leaf" Life="0;3">
      <Key Frames="0;0" Position="2;0"/>
      <Key Frames="1;3" Position="5;-1" Rotation="-170" Color="1;1;1;0.5"/>
    </Child>
  </Sprite>
  <Sprite Name="leaf"/>
</SpriteSet>)";

struct NodePose {
    Affine2D placement;
    float color[4];
    PackedColor packed;
};

std::vector<NodePose> posesOf(Sprite& root) {
    std::vector<NodePose> poses;
    root.visitChildren("", [&](Sprite& node) {
        NodePose pose{node.worldPlacement(), {}, node.packedColor()};
        std::memcpy(pose.color, node.worldColor(), sizeof pose.color);
        poses.push_back(pose);
    }, SpriteVisit::All);
    return poses;
}

// Nodes keep their pose while nothing it depends on changes; composing every node afresh
// (the root marked, so every node below recomposes) gives the same numbers bit for bit.
TEST(SpriteKeys, KeptPosesEqualFreshlyComposedOnes) {
    test::TestTrees trees(dancerXml);
    for (const bool interpolate : {true, false}) {
        SCOPED_TRACE(interpolate ? "interpolated" : "key by key");
        SpritePtr dancer = trees.make("dancer");
        dancer->setPosition(30.0f, -12.5f);
        dancer->setInterpolation(interpolate);
        dancer->play();
        dancer->visitChildren("", [](Sprite& node) { node.play(); }, SpriteVisit::All);
        for (int step = 0; step < 200; ++step) {
            dancer->update(1.0f / 60.0f + 0.0003f * float(step % 7), false);
            const std::vector<NodePose> kept = posesOf(*dancer);
            dancer->setPosition(31.0f, -12.5f);
            dancer->setPosition(30.0f, -12.5f);
            dancer->update(0.0f, false);
            const std::vector<NodePose> fresh = posesOf(*dancer);
            ASSERT_EQ(kept.size(), fresh.size());
            for (std::size_t i = 0; i < kept.size(); ++i)
                ASSERT_EQ(std::memcmp(&kept[i], &fresh[i], sizeof(NodePose)), 0) << "step " << step << ", node " << i;
        }
    }
}

// Switching interpolation on blends from the next update, whatever was kept.
TEST(SpriteKeys, InterpolationSwitchedOnBlendsAtTheNextUpdate) {
    test::TestTrees trees(slideXml);
    SpritePtr sprite = trees.make("slide");
    sprite->play();
    sprite->update(0.05f, false);
    EXPECT_EQ(sprite->child(0).worldMatrix()[12], 0.0f);
    sprite->setInterpolation(true);
    sprite->update(0.0f, false);
    EXPECT_NEAR(sprite->child(0).worldMatrix()[12], 5.0f, 1e-4f);
}

// The blend fraction is the part of the parent's current frame its time has passed, as
// fmod(time / frame time, 1) gives it bit for bit: negative when the parent runs backwards,
// with the sign of its zero.
TEST(SpriteKeys, TheBlendFractionIsTheFmodOfTheParentsFrames) {
    const struct {
        float speed;
        float dt;
    } cases[] = {
        {1.0f, 0.05f},   // half way through frame 0
        {1.0f, 0.1f},    // frame 1 exactly: +0
        {1.0f, 0.37f},   // frame 3, the last of key 2..3
        {1.0f, 0.69f},   // frame 6, the last of key 4..6
        {-1.0f, 0.05f},  // backwards into frame 7: -0.5
        {-1.0f, 0.8f},   // a whole loop backwards: -0
        {1.0f, 1.0e7f},  // far beyond the loop
    };
    test::TestTrees trees(slideXml);
    for (const auto& c : cases) {
        SpritePtr sprite = trees.make("slide");
        sprite->setInterpolation(true);
        sprite->setSpeed(c.speed);
        sprite->play();
        sprite->update(c.dt, false);
        const float expected = std::fmod(sprite->time() / sprite->frameTime(), 1.0f);
        const float fraction = sprite->child(0).frameFraction();
        EXPECT_EQ(std::memcmp(&fraction, &expected, sizeof fraction), 0)
            << "speed " << c.speed << ", dt " << c.dt << ": " << fraction << " for " << expected;
    }
}

// A pose must not depend on the order of changes: a tree changed between updates ends
// as one given the same changes before its first update, whose every node composes afresh.
// Nodes keep their own part of the pose while only their parent moves, so a change that
// failed to reach it shows here. With only the root playing, the nodes below a body that
// stands still are left alone until a change reaches them.
TEST(SpriteKeys, ChangesBetweenUpdatesGiveTheSamePosesAsChangesBeforeThem) {
    const struct {
        const char* name;
        std::function<void(Sprite& dancer)> change;
    } cases[] = {
        {"the root moves", [](Sprite& dancer) { dancer.setPosition(4.0f, -2.0f); }},
        {"the root turns and fades",
         [](Sprite& dancer) {
             dancer.setRotation(0.5f);
             dancer.setAlpha(0.5f);
         }},
        {"the body turns", [](Sprite& dancer) { dancer.child(0).setRotation(1.0f); }},
        {"the body is recoloured", [](Sprite& dancer) { dancer.child(0).setColor(1.0f, 0.25f, 0.5f, 0.75f); }},
        {"the hand is scaled and moved",
         [](Sprite& dancer) {
             dancer.child(0).child(0).setScale(2.0f, -1.0f);
             dancer.child(0).child(0).setPosition(1.0f, 1.0f);
         }},
        {"interpolation goes off and the root moves",
         [](Sprite& dancer) {
             dancer.setInterpolation(false);
             dancer.setPosition(4.0f, -2.0f);
         }},
        {"the body is away while the root moves",
         [](Sprite& dancer) {
             dancer.child(0).setEnabled(false);
             dancer.setPosition(4.0f, -2.0f);
             dancer.update(0.0f, false);
             dancer.child(0).setEnabled(true);
         }},
        {"the body stops on frame 2: the hand takes its next key", [](Sprite& dancer) { dancer.child(0).setFrame(2); }},
        {"the hand is away while the root moves",
         [](Sprite& dancer) {
             dancer.child(0).child(0).setEnabled(false);
             dancer.setPosition(4.0f, -2.0f);
             dancer.update(0.0f, false);
             dancer.child(0).child(0).setEnabled(true);
         }},
    };
    test::TestTrees trees(dancerXml);
    for (const bool everyNodePlays : {true, false}) {
        SCOPED_TRACE(everyNodePlays ? "every node plays" : "only the root plays");
        const auto start = [&] {
            SpritePtr dancer = trees.make("dancer");
            dancer->setInterpolation(true);
            dancer->play();
            if (everyNodePlays) dancer->visitChildren("", [](Sprite& node) { node.play(); }, SpriteVisit::All);
            return dancer;
        };
        // Half way through frame 1: the body blends towards its next key.
        const float time = 0.15f;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            SpritePtr between = start();
            between->update(time, false);
            // Nothing changes: the nodes below the body are found still.
            if (!everyNodePlays) between->update(0.0f, false);
            c.change(*between);
            between->update(0.0f, false);

            SpritePtr before = start();
            c.change(*before);
            before->update(time, false);

            const std::vector<NodePose> kept = posesOf(*between);
            const std::vector<NodePose> fresh = posesOf(*before);
            ASSERT_EQ(kept.size(), fresh.size());
            for (std::size_t i = 0; i < kept.size(); ++i)
                EXPECT_EQ(std::memcmp(&kept[i], &fresh[i], sizeof(NodePose)), 0) << "node " << i;
        }
    }
}

// Everything an update leaves in a node that later updates or the game read.
struct NodeState {
    NodePose pose;
    std::uint32_t frame;
    int key;
    float fraction;
    float time;
    bool dirty;
    bool playing;
    bool finished;
};

std::vector<NodeState> statesOf(Sprite& root) {
    std::vector<NodeState> states;
    const auto add = [&](Sprite& node) {
        NodeState state{{node.worldPlacement(), {}, node.packedColor()},
                        node.currentFrame(), node.keyIndex(), node.frameFraction(), node.time(),
                        node.isDirty(),      node.isPlaying(), node.isFinished()};
        std::memcpy(state.pose.color, node.worldColor(), sizeof state.pose.color);
        states.push_back(state);
    };
    add(root);
    root.visitChildren("", add, SpriteVisit::All);
    return states;
}

// Every node of two trees of one definition in the same state.
void expectNodesAlike(Sprite& one, Sprite& other) {
    const std::vector<NodeState> left = statesOf(one);
    const std::vector<NodeState> walked = statesOf(other);
    ASSERT_EQ(left.size(), walked.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        SCOPED_TRACE("node " + std::to_string(i));
        EXPECT_EQ(std::memcmp(&left[i].pose, &walked[i].pose, sizeof(NodePose)), 0);
        EXPECT_EQ(left[i].frame, walked[i].frame);
        EXPECT_EQ(left[i].key, walked[i].key);
        EXPECT_EQ(left[i].fraction, walked[i].fraction);
        EXPECT_EQ(left[i].time, walked[i].time);
        EXPECT_EQ(left[i].dirty, walked[i].dirty);
        EXPECT_EQ(left[i].playing, walked[i].playing);
        EXPECT_EQ(left[i].finished, walked[i].finished);
    }
}

// An update leaves alone the nodes below one that stands still while nothing below it
// plays or changed. A forced update walks every node (all of the dancer's are in their
// life ranges, so it walks the same ones otherwise): after any change, step by step, the
// two must leave every node alike. The long step ends a play-once in the middle of the
// body's timeline: its frame changes in the step that stops it.
TEST(SpriteKeys, NodesLeftAloneAgreeWithAWalkThroughEveryNode) {
    const struct {
        const char* name;
        std::function<void(Sprite& dancer)> change;
    } cases[] = {
        {"nothing changes", [](Sprite&) {}},
        {"the hand moves", [](Sprite& dancer) { dancer.child(0).child(0).setPosition(1.0f, 2.0f); }},
        {"the hand fades", [](Sprite& dancer) { dancer.child(0).child(0).setAlpha(0.25f); }},
        {"the body is recoloured", [](Sprite& dancer) { dancer.child(0).setColor(0.5f, 1.0f, 1.0f, 1.0f); }},
        {"the body stops on frame 2", [](Sprite& dancer) { dancer.child(0).setFrame(2); }},
        {"the body plays once", [](Sprite& dancer) { dancer.child(0).playOnce(); }},
        {"the body plays from frame 1", [](Sprite& dancer) { dancer.child(0).playFromFrame(1, true); }},
        {"the body restarts", [](Sprite& dancer) { dancer.child(0).restart(); }},
        {"the body stops on frame 3 and, one update later, starts over",
         [](Sprite& dancer) {
             dancer.child(0).setFrame(3);
             dancer.update(0.0f, false);
             dancer.child(0).resetToStart();
         }},
        {"the hand plays", [](Sprite& dancer) { dancer.child(0).child(0).play(); }},
        {"the body stops interpolating", [](Sprite& dancer) { dancer.child(0).setInterpolation(false); }},
        {"interpolation goes off below the body and, one update later, on",
         [](Sprite& dancer) {
             dancer.child(0).setInterpolation(false);
             dancer.update(0.0f, false);
             dancer.child(0).setInterpolation(true);
         }},
        {"the hand is disabled", [](Sprite& dancer) { dancer.child(0).child(0).setEnabled(false); }},
        {"the body is disabled and enabled",
         [](Sprite& dancer) {
             dancer.child(0).setEnabled(false);
             dancer.update(0.0f, false);
             dancer.child(0).setEnabled(true);
         }},
        {"the body is updated alone", [](Sprite& dancer) { dancer.child(0).update(0.0f, true); }},
        {"the hand, away, is updated alone",
         [](Sprite& dancer) {
             dancer.child(0).child(0).setEnabled(false);
             dancer.update(0.0f, false);
             dancer.child(0).child(0).update(0.0f, false);
         }},
    };
    const float steps[] = {1.0f / 60.0f, 0.01f, 0.5f, 1.0f / 60.0f, 0.02f};
    test::TestTrees trees(dancerXml);
    for (const bool rootPlays : {false, true}) {
        SCOPED_TRACE(rootPlays ? "the root plays" : "the root stands");
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            SpritePtr lazy = trees.make("dancer");
            SpritePtr forced = trees.make("dancer");
            for (Sprite* dancer : {lazy.get(), forced.get()}) {
                dancer->setInterpolation(true);
                if (rootPlays) dancer->play();
            }
            for (int step = 0; step < 8; ++step) {
                lazy->update(1.0f / 60.0f, false);
                forced->update(1.0f / 60.0f, true);
            }
            c.change(*lazy);
            c.change(*forced);
            for (const float dt : steps) {
                lazy->update(dt, false);
                forced->update(dt, true);
                SCOPED_TRACE("after the step of " + std::to_string(dt) + " s");
                expectNodesAlike(*lazy, *forced);
            }
        }
    }
}

// Keys of several frames, overlapping keys, children born and dying inside the timeline,
// a child without keys, and a limb with a timeline of its own.
const char* const troupeXml = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="troupe" Frames="12">
    <Child Name="walker" Sprite="limb" Life="0;11">
      <Key Frames="0;3" Position="1;0" Rotation="10"/>
      <Key Frames="4;8" Position="4;1" Rotation="50" Scale="1.5;1" Color="1;0.5;1;0.8"/>
      <Key Frames="9;11" Position="-3;2" Rotation="-20"/>
    </Child>
    <Child Name="overlap" Sprite="leaf" Life="2;9">
      <Key Frames="2;6" Position="0;4"/>
      <Key Frames="5;9" Position="6;1" Scale="2;1"/>
    </Child>
    <Child Name="still" Sprite="leaf" Life="0;11" Position="7;7"/>
    <Child Name="brief" Sprite="leaf" Life="10;10" Position="2;9"/>
  </Sprite>
  <Sprite Name="limb" Frames="4">
    <Child Name="hand" Sprite="leaf" Life="0;3">
      <Key Frames="0;1" Position="2;0"/>
      <Key Frames="2;3" Position="5;-1" Rotation="-170"/>
    </Child>
    <Child Name="late" Sprite="leaf" Life="2;3"/>
  </Sprite>
  <Sprite Name="leaf"/>
</SpriteSet>)";

// An update leaves a node's children alone while its frame moves within a run that
// changes none of them. Waking every node before each update makes every walk reach every
// node (the enabled flags are toggled back at once): step by step, over whole loops with
// steps of many lengths, both trees must leave every node alike.
TEST(SpriteKeys, ChildrenLeftStandingAgreeWithAWalkThroughEveryStep) {
    const float steps[] = {1.0f / 60.0f, 1.0f / 60.0f, 0.013f, 0.05f, 1.0f / 60.0f, 0.1f, 0.2f, 0.007f, 0.35f};
    const auto wakeEveryNode = [](Sprite& root) {
        root.visitChildren("", [](Sprite& node) {
            if (!node.enabled()) return;
            node.setEnabled(false);
            node.setEnabled(true);
        }, SpriteVisit::All);
    };
    test::TestTrees trees(troupeXml);
    for (const bool interpolate : {true, false}) {
        for (const bool limbPlays : {false, true}) {
            for (const float speed : {1.0f, -0.7f}) {
                SCOPED_TRACE(std::string(interpolate ? "interpolated" : "key by key") +
                             (limbPlays ? ", the limb plays" : "") + ", speed " + std::to_string(speed));
                SpritePtr lazy = trees.make("troupe");
                SpritePtr woken = trees.make("troupe");
                for (Sprite* troupe : {lazy.get(), woken.get()}) {
                    troupe->setInterpolation(interpolate);
                    troupe->setSpeed(speed);
                    troupe->play();
                    if (limbPlays) troupe->findDescendant("walker")->play();
                }
                for (int step = 0; step < 120; ++step) {
                    const float dt = steps[step % (sizeof steps / sizeof steps[0])];
                    wakeEveryNode(*woken);
                    lazy->update(dt, false);
                    woken->update(dt, false);
                    SCOPED_TRACE("step " + std::to_string(step));
                    expectNodesAlike(*lazy, *woken);
                    if (::testing::Test::HasFailure()) return;
                }
            }
        }
    }
}

// Each channel times alpha times 255, truncated into 0..255; NaN and anything not above 0
// give 0.
TEST(SpriteKeys, PackedColourClampsAndTruncatesEachChannel) {
    const float nan = std::nanf("");
    const struct {
        float r, g, b, a;
        PackedColor packed;
    } cases[] = {
        {1.0f, 1.0f, 1.0f, 1.0f, PackedColor::fromChannels(255, 255, 255, 255)},
        {0.5f, 1.0f, 2.0f, 0.5f, PackedColor::fromChannels(63, 127, 255, 127)},
        {0.999f, 0.0f, -1.0f, 1.0f, PackedColor::fromChannels(254, 0, 0, 255)},
        {nan, 1.0f, 1.0f, 1.0f, PackedColor::fromChannels(0, 255, 255, 255)},
        {1.0f, 1.0f, 1.0f, nan, PackedColor::fromChannels(0, 0, 0, 0)},
        {1.0f, 0.25f, 1.0f, 2.0f, PackedColor::fromChannels(255, 127, 255, 255)},
        {1.0f, 1.0f, 1.0f, -0.5f, PackedColor::fromChannels(0, 0, 0, 0)},
    };
    test::TestTrees trees(slideXml);
    for (const auto& c : cases) {
        SpritePtr sprite = trees.make("slide");
        sprite->setColor(c.r, c.g, c.b, c.a);
        sprite->update(0.0f, false);
        EXPECT_EQ(sprite->packedColor().value, c.packed.value) << c.r << " " << c.g << " " << c.b << " " << c.a;
    }
}

const char* const cuesXml = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="steps" Frames="10">
    <Label Frame="3" Text="playCue:step"/>
    <Label Frame="4" Text="blink"/>
    <Label Frame="5" Text="playCue:scrape"/>
    <Label Frame="6" Text="playCue:hum[loopAnim]"/>
    <Child Name="c" Sprite="leaf" Life="0;9"/>
  </Sprite>
  <Sprite Name="leaf"/>
</SpriteSet>)";

TEST(SpriteCues, ACueLabelPlaysInTheStepThatLeavesItsFrame) {
    test::TestTrees trees(cuesXml);
    SpritePtr sprite = trees.make("steps");
    std::vector<std::string> played;
    const Sprite::CuePlayer record = [&played](const std::string& cue) { played.push_back(cue); };
    const auto step = [&](float dt) {
        played.clear();
        sprite->updateWithCues(dt, record);
        return played;
    };
    using Cues = std::vector<std::string>;

    sprite->setCuesEnabled(true);
    sprite->play();
    EXPECT_EQ(step(0.35f), Cues{}) << "arriving on frame 3 plays nothing yet";
    EXPECT_EQ(sprite->currentFrame(), 3u);
    EXPECT_EQ(step(0.1f), Cues{"step"}) << "leaving frame 3";
    EXPECT_EQ(step(0.3f), (Cues{"scrape", "hum"})) << "frames 4 to 6 in one step; 'blink' is not a cue";

    sprite->playFromFrame(5, false);
    sprite->setCueMarker(0.0f);
    EXPECT_EQ(step(0.2f), Cues{"scrape"}) << "loop cues wait for the marker -1";

    sprite->playFromFrame(8, false);
    EXPECT_EQ(step(0.3f), Cues{}) << "the step that wraps plays nothing";
    EXPECT_EQ(sprite->currentFrame(), 0u);

    sprite->playFromFrame(2, true);
    EXPECT_EQ(step(2.0f), Cues{}) << "a play-once run that finishes has stopped playing";

    sprite->setCuesEnabled(false);
    sprite->playFromFrame(2, false);
    EXPECT_EQ(step(0.5f), Cues{});
}

} // namespace
} // namespace zor
