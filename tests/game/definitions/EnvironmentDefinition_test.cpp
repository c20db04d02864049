#include "game/definitions/EnvironmentDefinition.h"

#include <string>

#include <gtest/gtest.h>

namespace zor {
namespace {

struct Environments : DefinitionRegistry<EnvironmentDefinition> {
    explicit Environments(const std::string& environments)
        : DefinitionRegistry("EnvironmentDefinitions", "Environment", "Name") {
        loadText("Definitions/environments.xml", "<EnvironmentDefinitions>" + environments + "</EnvironmentDefinitions>");
    }
};

struct Bloom {
    float values[8];
};

Bloom bloomOf(const EnvironmentDefinition& e) {
    return {{e.preThreshold, e.power, e.postThreshold, e.blurSize, e.sourceFactor, e.sourceOverBurn,
             e.targetConstantFactor, e.targetInverseSourceFactor}};
}

void expectBloom(const EnvironmentDefinition& e, const Bloom& expected, const char* name) {
    const Bloom actual = bloomOf(e);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(actual.values[i], expected.values[i]) << name << " value " << i;
}

TEST(EnvironmentDefinition, DefaultsBloomKeysAndInheritance) {
    const Environments registry(R"(
        <Environment><Name>plain</Name></Environment>
        <Environment><Name>full</Name><Bloom><PreThreshold>0.25</PreThreshold><Power>3</Power>
          <PostThreshold>0.75</PostThreshold><BlurSize>12</BlurSize><SourceFactor>0.5</SourceFactor>
          <SourceOverBurn>0.125</SourceOverBurn><TargetConstantFactor>0.0625</TargetConstantFactor>
          <TargetInverseSourceFactor>2</TargetInverseSourceFactor></Bloom></Environment>
        <Environment><Name>kept</Name><Template>full</Template></Environment>
        <Environment><Name>power_only</Name><Template>full</Template><Bloom><Power>6</Power></Bloom></Environment>
        <Environment><Name>loose</Name><Power>9</Power></Environment>)");
    const Bloom defaults{{0.0f, 4.0f, 0.5f, 10.0f, 1.0f, 0.0f, 0.0f, 1.0f}};
    const Bloom full{{0.25f, 3.0f, 0.75f, 12.0f, 0.5f, 0.125f, 0.0625f, 2.0f}};
    expectBloom(registry.get("plain"), defaults, "plain");
    expectBloom(registry.get("full"), full, "full");
    expectBloom(registry.get("kept"), full, "kept");
    Bloom powerOnly = full;
    powerOnly.values[1] = 6.0f;
    expectBloom(registry.get("power_only"), powerOnly, "power_only");
    expectBloom(registry.get("loose"), defaults, "loose"); // keys count only inside Bloom
}

} // namespace
} // namespace zor
