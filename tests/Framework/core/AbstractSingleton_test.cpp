#include "Framework/core/AbstractSingleton.h"
#include "Framework/core/Errors.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

struct Service : AbstractSingleton<Service> {
    int value = 7;
};

TEST(AbstractSingleton, InstanceLivesWithTheObject) {
    EXPECT_FALSE(Service::exists());
    {
        Service service;
        EXPECT_EQ(&Service::instance(), &service);
        EXPECT_EQ(Service::instance().value, 7);
    }
    EXPECT_EQ(Service::instancePointer(), nullptr);
}

TEST(Errors, CheckReleaseErrorIsARuntimeErrorAndMainErrorKeepsItsText) {
    try {
        throw CheckReleaseError("Could not read x");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Could not read x");
    }
    MainError copy = MainError("fatal");
    EXPECT_STREQ(copy.what(), "fatal");
}

} // namespace
} // namespace zor
