// Under ThreadSanitizer this shows the race the filled table avoids: without the fill, the
// two threads' first narrowing of a character both write the facet's table.

#include "Framework/core/text/NarrowingCache.h"

#include <boost/format.hpp>

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace zor {
namespace {

TEST(NarrowingCache, FormattingOnTwoThreadsAfterTheFillOnlyReadsTheTable) {
    fillCharacterNarrowingCache();
    std::string fromWorker;
    std::thread worker([&fromWorker] { fromWorker = (boost::format("%.3f s and %d") % 1.25 % 7).str(); });
    const std::string fromMain = (boost::format("%.3f s and %d") % 1.25 % 7).str();
    worker.join();
    EXPECT_EQ(fromMain, "1.250 s and 7");
    EXPECT_EQ(fromWorker, fromMain);
}

} // namespace
} // namespace zor
