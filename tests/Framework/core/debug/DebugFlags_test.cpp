#include "Framework/core/debug/DebugFlags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

using T = DebugToggle;

std::vector<DebugToggle> declarationsOf(const std::string& category, const std::string& name) {
    std::vector<DebugToggle> found;
    for (const DebugToggle& t : declaredDebugToggles())
        if (t.category == category && t.name == name)
            found.push_back(t);
    return found;
}

TEST(DebugFlags, CoreFlagsAreDeclaredInOrderUnderTheirCategoriesAndKinds) {
    const CoreDebugFlags& core = coreDebugFlags();
    struct Row {
        const char* category;
        const char* name;
        DebugToggle::Kind kind;
        DebugFlag* flag;
    };
    const Row rows[] = {
        {"system", "capture", T::Toggle, &core.capture},
        {"perf", "disableVSync", T::Toggle, &core.disableVSync},
        {"perf", "disableSleep", T::Toggle, &core.disableSleep},
        {"system", "settings", T::OneShot, &core.settings},
        {"system", "slowMo", T::Toggle, &core.slowMo},
        {"system", "speedUp", T::Toggle, &core.speedUp},
        {"system", "still", T::Toggle, &core.still},
        {"system", "step", T::OneShot, &core.step},
        {"system", "crash", T::OneShot, &core.crash},
        {"system", "clearDebugDraw", T::OneShot, &core.clearDebugDraw},
        {"system", "showLog", T::Toggle, &core.showLog},
        {"perf", "showFps", T::Toggle, &core.showFps},
        {"system", "resetProgress", T::OneShot, &core.resetProgress},
        {"system", "resetAchievements", T::OneShot, &core.resetAchievements},
    };

    const std::vector<DebugToggle> all = declaredDebugToggles();
    auto position = [&all](const Row& row) {
        return std::find_if(all.begin(), all.end(), [&row](const DebugToggle& t) {
                   return t.category == row.category && t.name == row.name;
               }) - all.begin();
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const auto at = static_cast<std::size_t>(position(row));
        ASSERT_LT(at, all.size()) << row.name;
        EXPECT_EQ(all[at].kind, row.kind) << row.name;
        EXPECT_EQ(findDebugFlag(row.category, row.name), row.flag) << row.name;
        EXPECT_FALSE(*row.flag) << row.name << " must start off";
        if (i > 0) {
            EXPECT_LT(position(rows[i - 1]), position(row)) << row.name;
        }
    }
}

TEST(DebugFlags, DeclaringAgainChangesNothing) {
    DebugFlag& first = declareDebugToggle(T("hideStatusUI", T::Toggle, "game"));
    first = true;
    DebugFlag& second = declareDebugToggle(T("hideStatusUI", T::Toggle, "game"));
    DebugFlag& third = declareDebugToggle(T("hideStatusUI", T::OneShot, "game"));

    EXPECT_EQ(&first, &second);
    EXPECT_EQ(&first, &third);
    EXPECT_TRUE(third) << "a second declaration must not reset the value";
    const std::vector<DebugToggle> found = declarationsOf("game", "hideStatusUI");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, T::Toggle) << "the first kind stays";
}

TEST(DebugFlags, CategoryAndNameTogetherNameAFlag) {
    DebugFlag& gameCells = declareDebugToggle(T("cells", T::Toggle, "game debug"));
    DebugFlag& otherCells = declareDebugToggle(T("cells", T::Toggle, "perf"));
    EXPECT_NE(&gameCells, &otherCells);
    EXPECT_EQ(findDebugFlag("game debug", "cells"), &gameCells);
    EXPECT_EQ(findDebugFlag("game", "cells"), nullptr);
    EXPECT_EQ(findDebugFlag("game debug", "Cells"), nullptr);

    // A front end reaches the same value the declaring code reads.
    *findDebugFlag("perf", "cells") = true;
    EXPECT_TRUE(otherCells);
    EXPECT_FALSE(gameCells);
}

TEST(DebugFlags, ConcurrentDeclarationsOfOneFlagShareIt) {
    std::vector<DebugFlag*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &declareDebugToggle(T("noise", T::Toggle, "game")); });
    for (std::thread& thread : threads)
        thread.join();
    for (DebugFlag* flag : seen)
        EXPECT_EQ(flag, seen[0]);
    EXPECT_EQ(declarationsOf("game", "noise").size(), 1u);
}

} // namespace
} // namespace zor
