#include "Framework/graphics/sprite/Sprite.h"

#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zor {
namespace {

// A node placed at (2, 3), scale 1, rotation 0.5, colour (0.5, 0.5, 0.5, 0.5): each setter
// below is called once with the values it already has and once with a new one.
const char* const poseXml = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="pose"/>
</SpriteSet>)";

struct SetterCase {
    const char* name;
    // Set the present value and a new one; each returns "changed" (the void setters return
    // what they should have changed, and only the dirty mark tells).
    std::function<bool(Sprite&)> keep;
    std::function<bool(Sprite&)> change;
};

TEST(SpriteSetters, OnlyARealChangeMarksTheNode) {
    const SetterCase cases[] = {
        {"position", [](Sprite& s) { return s.setPosition(2, 3); }, [](Sprite& s) { return s.setPosition(2, 4); }},
        {"z", [](Sprite& s) { return s.setZ(0); }, [](Sprite& s) { return s.setZ(1); }},
        {"uniform scale", [](Sprite& s) { return s.setUniformScale(1); },
         [](Sprite& s) { return s.setUniformScale(2); }},
        {"rotation", [](Sprite& s) { return s.setRotation(0.5f); }, [](Sprite& s) { return s.setRotation(0.25f); }},
        {"alpha", [](Sprite& s) { return s.setAlpha(0.5f); }, [](Sprite& s) { return s.setAlpha(0.75f); }},
        {"scale", [](Sprite& s) { s.setScale(1, 1); return false; }, [](Sprite& s) { s.setScale(1, -1); return true; }},
        {"colour", [](Sprite& s) { s.setColor(0.5f, 0.5f, 0.5f, 0.5f); return false; },
         [](Sprite& s) { s.setColor(0.5f, 0.5f, 1.0f, 0.5f); return true; }},
    };
    test::TestTrees trees(poseXml);
    for (const SetterCase& c : cases) {
        SpritePtr sprite = trees.make("pose");
        sprite->setPosition(2, 3);
        sprite->setRotation(0.5f);
        sprite->setColor(0.5f, 0.5f, 0.5f, 0.5f);
        sprite->update(0.0f, false);
        ASSERT_FALSE(sprite->isDirty()) << c.name;

        EXPECT_FALSE(c.keep(*sprite)) << c.name;
        EXPECT_FALSE(sprite->isDirty()) << c.name << ": an unchanged value";
        const fpMatrix4 before = sprite->worldMatrix();

        EXPECT_TRUE(c.change(*sprite)) << c.name;
        EXPECT_TRUE(sprite->isDirty()) << c.name << ": a new value";
        sprite->update(0.0f, false);
        EXPECT_FALSE(sprite->isDirty()) << c.name;
        if (std::string(c.name) != "alpha" && std::string(c.name) != "colour") {
            EXPECT_NE(sprite->worldMatrix(), before) << c.name << ": recomposed";
        }
    }
}

} // namespace
} // namespace zor
