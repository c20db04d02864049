#include "Framework/graphics/sprite/Sprite.h"

#include "Framework/graphics/sprite/SpriteDefinition.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace zor {
namespace {

const char* const treeXml = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="root_def">
    <Child Name="b" Sprite="y" Depth="2" Life="0;7"/>
    <Child Name="a__tag__7" Sprite="x" Depth="1" Life="2;5" Position="3;4" Rotation="90" Scale="2;3"
           Color="0.5;0.25;1;0.75" Enabled="false"><Key/></Child>
  </Sprite>
  <Sprite Name="x" Origin="-4;-2"><Child Name="x1" Sprite="leaf"/><Child Name="x2" Sprite="leaf" Life="0;9"/></Sprite>
  <Sprite Name="y"><Child Name="y1" Sprite="leaf"/></Sprite>
  <Sprite Name="leaf"/>
</SpriteSet>)";

TEST(SpriteTree, IsOneBlockWithEachNodesChildrenTogether) {
    test::TestTrees trees(treeXml);
    EXPECT_EQ(trees.manager.createSprite("absent"), nullptr);
    SpritePtr root = trees.make("root_def");
    ASSERT_EQ(root->childCount(), 2);
    Sprite* block = &root->child(0);
    // Children in depth order, then the descendants of each child in turn.
    EXPECT_EQ(block[0].name(), "a__tag__7");
    EXPECT_EQ(block[1].name(), "b");
    EXPECT_EQ(&block[0].child(0), &block[2]);
    EXPECT_EQ(&block[0].child(1), &block[3]);
    EXPECT_EQ(&block[1].child(0), &block[4]);
    EXPECT_EQ(block[2].name(), "x1");
    EXPECT_EQ(block[4].name(), "y1");
    EXPECT_EQ(block[4].parent(), &block[1]);
    EXPECT_EQ(block[1].parent(), root.get());
    EXPECT_EQ(root->parent(), nullptr);

    // A timeline ends with the last life range among the children.
    EXPECT_EQ(root->lastFrame(), 7u);
    EXPECT_EQ(block[0].lastFrame(), 9u);
    EXPECT_EQ(block[1].lastFrame(), 0u);
}

TEST(SpriteTree, NodesTakeTheirPlacementFromTheRecord) {
    test::TestTrees trees(treeXml);
    SpritePtr root = trees.make("root_def");
    const Sprite& a = root->child(0);
    const SpriteNodeState& state = a.localState();
    EXPECT_EQ(state.x, 3.0f);
    EXPECT_EQ(state.y, 4.0f);
    EXPECT_FLOAT_EQ(state.rotation, 1.5707964f);
    EXPECT_EQ(state.scaleX, 2.0f);
    EXPECT_EQ(state.scaleY, 3.0f);
    EXPECT_EQ(state.pivotX, 4.0f);  // minus the origin
    EXPECT_EQ(state.pivotY, 2.0f);
    EXPECT_EQ(state.r, 0.5f);
    EXPECT_EQ(state.a, 0.75f);
    EXPECT_EQ(state.firstFrame, 2u);
    EXPECT_EQ(state.lastFrame, 5u);
    EXPECT_FALSE(a.enabled());
    EXPECT_EQ(a.depth(), 1.0f);
    EXPECT_FLOAT_EQ(a.frameTime(), 0.1f);
    EXPECT_EQ(a.definition(), trees.manager.spriteSet().findDefinition("x"));
    EXPECT_EQ(a.nodeDefinition()->name, "a__tag__7");
    EXPECT_EQ(a.getNameParameters(), (std::vector<SettingValue>{std::string("tag"), std::string("7")}));
    EXPECT_EQ(a.image().texture, nullptr) << "no texture set";
    EXPECT_EQ(a.manager(), &trees.manager);

    EXPECT_EQ(root->name(), "root_def");
    EXPECT_EQ(root->nodeDefinition(), nullptr);
    EXPECT_TRUE(root->getNameParameters().empty());
    EXPECT_TRUE(root->enabled());
    EXPECT_EQ(root->cueMarker(), -1.0f);
    EXPECT_TRUE(root->isDirty());
}

TEST(SpriteTree, WorldTransformAndColourComposeDownTheTree) {
    test::TestTrees trees(R"(<SpriteSet>
      <Sprite Name="arm"><Child Name="hand" Sprite="leaf" Position="5;0" Color="0.5;1;1;1"><Key Color="1;1;0.5;1"/></Child>
        <Child Name="bright" Sprite="leaf" Color="2;2;-1;1"/></Sprite>
      <Sprite Name="leaf"/>
    </SpriteSet>)");
    SpritePtr arm = trees.make("arm");
    arm->setPosition(10.0f, 20.0f);
    arm->setZ(3.0f);
    arm->setRotation(1.5707964f);
    arm->setColor(1.0f, 0.5f, 1.0f, 0.5f);
    arm->update(0.0f, false);

    const Sprite& hand = arm->child(0);
    const fpMatrix4& m = hand.worldMatrix();
    EXPECT_NEAR(m[12], 10.0f, 1e-5f);
    EXPECT_NEAR(m[13], 25.0f, 1e-5f);
    EXPECT_EQ(m[14], 3.0f);
    EXPECT_NEAR(m[1], 1.0f, 1e-6f);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(hand.worldColor()[i], 0.5f) << i;
    EXPECT_EQ(hand.packedColor(), PackedColor::fromChannels(63, 63, 63, 127));
    // World (2, 1, -1, 0.5): premultiplied and clamped.
    EXPECT_EQ(arm->child(1).packedColor(), PackedColor::fromChannels(255, 127, 0, 127));
}

struct SetterCase {
    const char* name;
    std::function<bool(Sprite&)> same;     // sets the present value
    std::function<bool(Sprite&)> changed;  // sets another one
    bool reports;                          // returns whether the value changed
};

TEST(SpriteTree, SettersMarkTheNodeOnlyWhenTheValueChanges) {
    const auto pair = [](void (Sprite::*set)(float, float), float a, float b) {
        return [=](Sprite& s) {
            (s.*set)(a, b);
            return false;
        };
    };
    const auto colour = [](float blue) {
        return [=](Sprite& s) {
            s.setColor(1, 1, blue, 1);
            return false;
        };
    };
    const SetterCase cases[] = {
        {"position", [](Sprite& s) { return s.setPosition(1, 2); }, [](Sprite& s) { return s.setPosition(1, 3); }, true},
        {"z", [](Sprite& s) { return s.setZ(0); }, [](Sprite& s) { return s.setZ(1); }, true},
        {"uniform scale", [](Sprite& s) { return s.setUniformScale(1); },
         [](Sprite& s) { return s.setUniformScale(2); }, true},
        {"rotation", [](Sprite& s) { return s.setRotation(0); }, [](Sprite& s) { return s.setRotation(1); }, true},
        {"alpha", [](Sprite& s) { return s.setAlpha(1); }, [](Sprite& s) { return s.setAlpha(0.5f); }, true},
        {"scale", pair(&Sprite::setScale, 1, 1), pair(&Sprite::setScale, 1, 2), false},
        {"pivot", pair(&Sprite::setPivot, 0, 0), pair(&Sprite::setPivot, 3, 0), false},
        {"colour", colour(1), colour(0), false},
    };
    test::TestTrees trees(treeXml);
    for (const SetterCase& c : cases) {
        SCOPED_TRACE(c.name);
        SpritePtr sprite = trees.make("root_def");
        sprite->setPosition(1, 2);
        sprite->update(0, false);
        ASSERT_FALSE(sprite->isDirty());
        EXPECT_FALSE(c.same(*sprite));
        EXPECT_FALSE(sprite->isDirty());
        EXPECT_EQ(c.changed(*sprite), c.reports);
        EXPECT_TRUE(sprite->isDirty());
    }
}

const char* const menuXml = R"(<SpriteSet>
  <Sprite Name="menu" Frames="4">
    <Child Name="title" Sprite="label" Life="0;3"/>
    <Child Name="later" Sprite="box" Life="2;3"/>
    <Child Name="currency" Sprite="leaf" Life="1;1"/>
    <Child Name="off" Sprite="box" Enabled="false" Life="0;3"/>
  </Sprite>
  <Sprite Name="label" Frames="3"><Label Frame="0" Text="in"/><Label Frame="2" Text="out"/>
    <Child Name="text" Sprite="leaf"/></Sprite>
  <Sprite Name="box">
    <Child Name="inner" Sprite="leaf"/>
    <Child Name="hidden" Sprite="label" Enabled="false"/>
    <Child Name="gone" Sprite="leaf" Life="5;5"/>
  </Sprite>
  <Sprite Name="leaf"/>
</SpriteSet>)";

std::vector<std::string> namesOf(const std::vector<Sprite*>& nodes) {
    std::vector<std::string> names;
    for (const Sprite* node : nodes) names.push_back(node->name());
    return names;
}

TEST(SpriteQueries, FindChildSkipsChildrenOutOfRangeFindDescendantDoesNot) {
    test::TestTrees trees(menuXml);
    SpritePtr menu = trees.make("menu");
    Sprite& title = menu->child(0);
    Sprite& later = menu->child(1);
    Sprite& off = menu->child(3);

    EXPECT_EQ(menu->findChild("title"), &title);
    EXPECT_EQ(menu->findChild("later"), nullptr) << "out of its life range at frame 0";
    EXPECT_EQ(menu->findDescendant("later"), &later);
    EXPECT_EQ(menu->findChild("text"), &title.child(0));
    EXPECT_EQ(menu->findChild("inner"), &off.child(0)) << "the disabled 'off' is in range";
    EXPECT_EQ(menu->findChild("gone"), nullptr);
    EXPECT_EQ(menu->findDescendant("gone"), &later.child(2));
    EXPECT_EQ(menu->findVisibleChild(), &title);
    EXPECT_EQ(menu->findCurrencyChild(), &menu->child(2));
    EXPECT_EQ(title.findCurrencyChild(), nullptr);

    menu->setFrame(2);
    EXPECT_EQ(menu->findChild("later"), &later);
    EXPECT_EQ(menu->findChild("inner"), &later.child(0));
}

TEST(SpriteQueries, CollectNodesTakesEveryDirectChildButOnlyLiveOnesBelow) {
    test::TestTrees trees(menuXml);
    SpritePtr menu = trees.make("menu");
    std::vector<Sprite*> nodes;
    menu->collectNodes(nodes);
    EXPECT_EQ(namesOf(nodes),
              (std::vector<std::string>{"title", "text", "later", "inner", "currency", "off", "inner"}));
}

TEST(SpriteQueries, VisitChildrenModes) {
    test::TestTrees trees(menuXml);
    SpritePtr menu = trees.make("menu");
    const auto visit = [&](const std::string& name, SpriteVisit mode) {
        std::vector<Sprite*> seen;
        menu->visitChildren(name, [&seen](Sprite& node) { seen.push_back(&node); }, mode);
        return namesOf(seen);
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(visit("inner", SpriteVisit::Named), (Names{"inner", "inner"}));
    EXPECT_EQ(visit("hidden", SpriteVisit::NamedSubtrees), (Names{"hidden", "text", "hidden", "text"}));
    EXPECT_EQ(visit("title", SpriteVisit::NamedSubtrees), (Names{"title", "text"}));
    EXPECT_EQ(visit("", SpriteVisit::All).size(), static_cast<std::size_t>(menu->definition()->descendantCount));
    EXPECT_EQ(visit("nothing", SpriteVisit::Named), Names{});
    EXPECT_THROW(menu->visitChildren("title", {}, SpriteVisit::Named), std::bad_function_call);
}

TEST(SpriteQueries, AnimationFramesComeFromTheNodesDefinition) {
    test::TestTrees trees(menuXml);
    SpritePtr menu = trees.make("menu");
    Sprite& title = menu->child(0);
    EXPECT_EQ(title.getAnimationFirstFrame("out"), 2);
    EXPECT_EQ(title.getAnimationLastFrame("in"), 1);
    EXPECT_EQ(title.getAnimationLastFrame("out"), 2);
    EXPECT_EQ(title.getAnimationFirstFrame("idle"), -1);
    EXPECT_EQ(menu->getAnimationFirstFrame("in"), -1) << "the root's definition has no labels";
    EXPECT_EQ(menu->getAnimationLastFrame("in"), -1);
}

const char* const doorXml = R"(<SpriteSet>
  <Sprite Name="door" Frames="4">
    <Shape Name="bounds" Points="0;0 2;0"><Key Frames="2;3"/></Shape>
    <Shape Name="bounds" Points="0;0 1;0 1;1"><Key Frames="0;1" Position="10;20" Scale="2;3"/></Shape>
    <Shape Name="hit" Type="3" Points="-1;-1 1;1"><Key/></Shape>
    <Child Name="knob" Sprite="knob" Life="0;3" Position="5;5"/>
    <Child Name="latch" Sprite="knob" Life="3;3"/>
  </Sprite>
  <Sprite Name="knob"><Shape Name="grip" Points="0;0"><Key Position="1;1" Rotation="90"/></Shape></Sprite>
</SpriteSet>)";

using Points = std::vector<fpVector2>;

TEST(SpriteShapes, TheFirstShapeValidAtTheCurrentFrameIsTransformedByItsKey) {
    test::TestTrees trees(doorXml);
    SpritePtr door = trees.make("door");
    door->setPosition(100.0f, 0.0f);
    door->update(0.0f, false);

    Points points;
    ASSERT_TRUE(door->findCollisionShape("bounds", points, false, false));
    EXPECT_EQ(points, (Points{{10, 20}, {12, 20}, {12, 23}}));
    points.clear();
    ASSERT_TRUE(door->findCollisionShape("bounds", points, false, true));
    EXPECT_EQ(points, (Points{{110, 20}, {112, 20}, {112, 23}}));

    door->setFrame(2);
    door->update(0.0f, false);
    points = {{-9, -9}};
    ASSERT_TRUE(door->findCollisionShape("bounds", points, false, false));
    EXPECT_EQ(points, (Points{{-9, -9}, {0, 0}, {2, 0}})) << "points are appended";

    points.clear();
    ASSERT_TRUE(door->findShapeOfType(0, points, false, false));
    EXPECT_EQ(points.size(), 2u);
    EXPECT_FALSE(door->findCollisionShape("", points, true, true));
    EXPECT_FALSE(door->findShapeOfType(7, points, true, true));
}

TEST(SpriteShapes, ChildrenAreSearchedOnlyWhenAskedAndWhileAlive) {
    test::TestTrees trees(doorXml);
    SpritePtr door = trees.make("door");
    door->setPosition(100.0f, 0.0f);
    door->update(0.0f, false);
    Points points;
    EXPECT_FALSE(door->findCollisionShape("grip", points, false, true));
    ASSERT_TRUE(door->findCollisionShape("grip", points, true, true));
    ASSERT_EQ(points.size(), 1u);
    EXPECT_NEAR(points[0].x, 106.0f, 1e-5f);
    EXPECT_NEAR(points[0].y, 6.0f, 1e-5f);
    points.clear();
    ASSERT_TRUE(door->findCollisionShape("grip", points, true, false));
    EXPECT_EQ(points, (Points{{1, 1}})) << "in the child's own space";
}

TEST(SpriteShapes, HitShapeIsTheNodesOwnShapeOfType3) {
    test::TestTrees trees(doorXml);
    SpritePtr door = trees.make("door");
    door->update(0.0f, false);
    Points points = {{5, 5}, {6, 6}};
    ASSERT_TRUE(door->getHitShape(points, false));
    EXPECT_EQ(points, (Points{{-1, -1}, {1, 1}}));
    EXPECT_FALSE(door->child(0).getHitShape(points, false));
    EXPECT_TRUE(points.empty());
}

} // namespace
} // namespace zor
