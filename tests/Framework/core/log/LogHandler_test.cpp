#include "Framework/core/log/LogHandler.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zor {
namespace {

using Level = LogHandler::LevelType;

struct Received {
    std::string line;
    Level level;
};

class LogHandlerTest : public ::testing::Test {
protected:
    // A sink that keeps what it receives.
    int32_t addRecorder(Level level, const std::string& layout, int32_t number = 22) {
        return log.addSink([this](const std::string& line, Level l) { received.push_back({line, l}); },
                           number, level, layout);
    }

    // Everything the default sink printed for one line.
    std::string console(Level level, const std::string& source, const std::string& text) {
        testing::internal::CaptureStdout();
        log.write(level, source, text);
        return testing::internal::GetCapturedStdout();
    }

    LogHandler log;
    std::vector<Received> received;
};

TEST_F(LogHandlerTest, TheDefaultSinkRightAlignsTheSourceOnEveryLine) {
    const LogHandler::Sink* sink = log.findSink(1);
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(sink->number, 24);
    EXPECT_EQ(sink->levels, std::vector<Level>(24, LogHandler::Verbose));

    const std::string pad20(20, ' ');
    EXPECT_EQ(console(LogHandler::Warning, "Files", "disk full"), pad20 + "Files Warning: disk full\n");
    EXPECT_EQ(console(LogHandler::Verbose, "Audio", "cue"), pad20 + "Audio Verbose: cue\n")
        << "the padding must survive reuse of the layout";
    EXPECT_EQ(console(LogHandler::Error, "", "x"), std::string(25, ' ') + " Error: x\n");
    const std::string longSource = "ThreadedWorkQueue::workerLoop";
    EXPECT_EQ(console(LogHandler::Info, longSource, "stop"), longSource + " Info: stop\n")
        << "a long source is not cut";
}

TEST_F(LogHandlerTest, WriteToConsolePrintsTheTextWithItsRawBytesEscaped) {
    testing::internal::CaptureStdout();
    LogHandler::writeToConsole("no line end", LogHandler::Error);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "no line end");
    testing::internal::CaptureStdout();
    LogHandler::writeToConsole("actor '\x1B]0;\x01\xFF' \xC3\xA4\n", LogHandler::Error);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "actor '\\x1B]0;\\x01\\xFF' \xC3\xA4\n");
}

TEST_F(LogHandlerTest, IdsCountUpFromTheDefaultSinkAndAreNeverReused) {
    const int32_t first = addRecorder(LogHandler::Info, "%1%");
    EXPECT_EQ(first, 2);
    EXPECT_EQ(log.removeSink(first), 1u);
    EXPECT_EQ(log.removeSink(first), 0u);
    EXPECT_EQ(log.removeSink(77), 0u);
    EXPECT_EQ(addRecorder(LogHandler::Info, "%1%"), 3);
    EXPECT_EQ(log.findSink(first), nullptr);
}

TEST_F(LogHandlerTest, ASinkKeepsItsNumberAndOneLevelPerChannel) {
    const int32_t id = addRecorder(LogHandler::Info, "%1%", 22);
    const LogHandler::Sink* sink = log.findSink(id);
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(sink->number, 22);
    EXPECT_EQ(sink->levels, std::vector<Level>(LogHandler::ChannelCount, LogHandler::Info));
    EXPECT_EQ(LogHandler::ChannelCount, 24);
}

TEST_F(LogHandlerTest, ASinkReceivesLinesAtOrAboveItsLevel) {
    struct Case {
        Level sinkLevel;
        Level lineLevel;
        bool received;
    };
    const Case cases[] = {
        {LogHandler::Verbose, LogHandler::Verbose, true},
        {LogHandler::Info, LogHandler::Debug, false},
        {LogHandler::Info, LogHandler::Info, true},
        {LogHandler::Info, LogHandler::Fatal, true},
        {LogHandler::Warning, LogHandler::Info, false},
        {LogHandler::Warning, LogHandler::Warning, true},
        {LogHandler::Error, LogHandler::Warning, false},
        {LogHandler::Error, LogHandler::Critical, true},
        {LogHandler::Fatal, LogHandler::Critical, false},
    };
    log.removeSink(1); // keep the test output quiet
    for (const Case& c : cases) {
        received.clear();
        const int32_t id = addRecorder(c.sinkLevel, "%1%");
        for (int channel : {0, LogHandler::ChannelCount - 1})
            log.write(c.lineLevel, "Test", "line", channel);
        EXPECT_EQ(received.size(), c.received ? 2u : 0u)
            << "sink level " << c.sinkLevel << ", line level " << c.lineLevel;
        for (const Received& r : received)
            EXPECT_EQ(r.level, c.lineLevel);
        log.removeSink(id);
    }
}

TEST_F(LogHandlerTest, LayoutsPickAnySubsetOfTheSixArguments) {
    struct Case {
        const char* layout;
        const char* line;
    };
    const Case cases[] = {
        {"%1%", "melted\n"},
        {"%2%/%3%", "4/7\n"},
        {"%5%", "Error\n"},
        {"%6%", "Smelter\n"},
        {"[%6%] %1%", "[Smelter] melted\n"},
        {"%1% %1%", "melted melted\n"},
        {"static text", "static text\n"},
        {"%1%%7%", "melted\n"},      // a directive beyond the arguments stays empty
        {"%1%\n", "melted\n"},       // a layout's own line end is not doubled
        {"%5$s:%1$s", "Error:melted\n"},
    };
    log.removeSink(1);
    for (const Case& c : cases) {
        received.clear();
        const int32_t id = addRecorder(LogHandler::Verbose, c.layout);
        log.write(LogHandler::Error, "Smelter", "melted", 7);
        ASSERT_EQ(received.size(), 1u) << c.layout;
        EXPECT_EQ(received[0].line, c.line) << c.layout;
        log.removeSink(id);
    }

    received.clear();
    addRecorder(LogHandler::Verbose, "%4%");
    log.write(LogHandler::Info, "", "");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(std::regex_match(received[0].line, std::regex("[0-9]+\\.[0-9]{3}\n"))) << received[0].line;
}

TEST_F(LogHandlerTest, AMalformedLayoutIsRefusedWithoutTakingAnId) {
    EXPECT_THROW(addRecorder(LogHandler::Info, "%1"), boost::io::bad_format_string);
    EXPECT_EQ(addRecorder(LogHandler::Info, "%1%"), 2);
}

TEST_F(LogHandlerTest, AChannelOutsideTheTableIsRefused) {
    for (int channel : {-1, LogHandler::ChannelCount})
        EXPECT_THROW(log.write(LogHandler::Info, "", "x", channel), std::out_of_range) << channel;
}

TEST_F(LogHandlerTest, SinksMayChangeTheTableFromTheirCallback) {
    log.removeSink(1);

    // Two sinks that each remove the other: whichever runs first keeps the
    // other from receiving the line.
    int calls = 0;
    int32_t first = 0;
    int32_t second = 0;
    first = log.addSink([&](const std::string&, Level) { ++calls; log.removeSink(second); }, 1,
                        LogHandler::Verbose, "%1%");
    second = log.addSink([&](const std::string&, Level) { ++calls; log.removeSink(first); }, 1,
                         LogHandler::Verbose, "%1%");
    log.write(LogHandler::Info, "", "once");
    EXPECT_EQ(calls, 1);

    // A sink that removes itself and writes again is not called for its own line.
    std::vector<std::string> lines;
    int32_t self = 0;
    self = log.addSink(
        [&](const std::string& line, Level) {
            lines.push_back(line);
            log.removeSink(self);
            log.write(LogHandler::Info, "", "from inside");
        },
        1, LogHandler::Verbose, "%1%");
    log.write(LogHandler::Info, "", "outside");
    EXPECT_EQ(lines, std::vector<std::string>{"outside\n"});
}

TEST_F(LogHandlerTest, LinesFromSeveralThreadsAllArrive) {
    log.removeSink(1);
    int count = 0; // sinks are called one line at a time
    log.addSink([&count](const std::string&, Level) { ++count; }, 1, LogHandler::Verbose, "%6% %1%");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 500; ++i)
                LogHandler::log(LogHandler::Info, "worker", std::to_string(i));
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(count, 2000);
}

TEST(LogHandlerStatic, LinesWithoutAHandlerAreDropped) {
    ASSERT_FALSE(LogHandler::exists());
    testing::internal::CaptureStdout();
    LogHandler::log(LogHandler::Fatal, "Boot", "too early");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(LogHandlerStatic, LevelsShownAsWarningsAndErrors) {
    struct Case {
        int level;
        const char* name;
        bool warning;
        bool error;
    };
    const Case cases[] = {
        {0, "Verbose", false, false}, {1, "Debug", false, false},   {2, "Info", false, false},
        {3, "Warning", true, false},  {4, "Error", false, true},    {5, "Critical", false, true},
        {6, "Fatal", false, true},    {7, "Info", false, false},
    };
    for (const Case& c : cases) {
        const auto level = static_cast<Level>(c.level);
        EXPECT_STREQ(LogHandler::levelName(level), c.name) << c.level;
        EXPECT_EQ(LogHandler::isWarning(level), c.warning) << c.level;
        EXPECT_EQ(LogHandler::isError(level), c.error) << c.level;
    }
}

} // namespace
} // namespace zor
