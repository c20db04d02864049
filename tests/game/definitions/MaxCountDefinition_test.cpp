#include "game/definitions/MaxCountDefinition.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

TEST(MaxCountDefinition, AttributesDefaultsAndUnreadableValues) {
    const auto registry = test::loadDefinitions(maxCountRegistry(), "Definitions/maxcounts.xml", R"(
        <Group Name="bare"/>
        <Group Name="buildings" MaxCount="24" KeepQueue="false"/>
        <Group Name="copy" Template="x"><Template>buildings</Template></Group>
        <Group Name="odd" MaxCount="abc" KeepQueue="yes"><Template>buildings</Template></Group>
        <Group Name="spaced" MaxCount=" 7 " KeepQueue="1"/>)");
    EXPECT_EQ(registry->get("bare").maximumCount, 0);
    EXPECT_TRUE(registry->get("bare").keepQueue);
    EXPECT_EQ(registry->get("buildings").maximumCount, 24);
    EXPECT_FALSE(registry->get("buildings").keepQueue);
    EXPECT_EQ(registry->get("copy").maximumCount, 24);
    EXPECT_EQ(registry->get("odd").maximumCount, 24); // "abc" keeps the previous maximum
    EXPECT_FALSE(registry->get("odd").keepQueue);    // "yes" is no optional boolean
    EXPECT_EQ(registry->get("spaced").maximumCount, 7);
    EXPECT_TRUE(registry->get("spaced").keepQueue);

    EXPECT_EQ(test::loadFailure(maxCountRegistry(), "Definitions/maxcounts.xml", "<Group MaxCount=\"3\"/>"),
              "Could not load MaxCounts from file 'Definitions/maxcounts.xml', reason: No such node (<xmlattr>.Name)");
    EXPECT_EQ(findMaxCountDefinitionOrNull("no_such_group"), nullptr);
    EXPECT_THROW(findMaxCountDefinition("no_such_group"), CheckReleaseError);
}

} // namespace
} // namespace zor
