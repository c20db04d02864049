#pragma once
// The log: a table of sinks, each with its own boost.format line layout and a
// level per channel. A line goes to every sink whose level for the line's
// channel is at or below the line's level.
//
// The arguments fed to a layout:
//   %1% message text     %2% level number   %3% channel number
//   %4% seconds since the log was created   %5% level name   %6% source
// A layout may use any subset of them. A finished line always ends with a
// line end (one is appended when the layout's result lacks it).
//
// Lines may be written from any thread; sinks are called one line at a time.
// A sink may write lines or add and remove sinks from inside its callback.

#include "Framework/core/AbstractSingleton.h"

#include <boost/format.hpp>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

class LogHandler : public AbstractSingleton<LogHandler> {
public:
    // Sinks show 3 as a warning and 4, 5 and 6 as errors.
    enum LevelType : int32_t {
        Verbose = 0,
        Debug = 1,
        Info = 2,
        Warning = 3,
        Error = 4,
        Critical = 5,
        Fatal = 6,
    };

    using Callback = std::function<void(const std::string& line, LevelType level)>;

    struct Sink {
        int32_t id = 0;
        boost::format format; // argument-count errors switched off
        Callback callback;
        int32_t number = 0;
        std::vector<LevelType> levels; // one per channel
    };

    static constexpr int ChannelCount = 24;
    static constexpr int32_t DefaultSinkNumber = 24;
    static constexpr const char* DefaultLayout = "%6% %5%: %1%";
    static constexpr int SourceWidth = 25; // the default layout right-aligns %6% to this width

    // Registers the default sink (id 1), which writes to the console.
    LogHandler();
    ~LogHandler() override;

    // Returns the new sink's id; ids are never reused. A malformed layout
    // throws boost::io::bad_format_string.
    int32_t addSink(Callback callback, int32_t number, LevelType level, const std::string& layout);
    // Returns the number of sinks removed: 1, or 0 for an unknown id.
    std::size_t removeSink(int32_t id);
    // The registered sink, or null. Main thread only: the pointer is invalid
    // once the sink is removed.
    const Sink* findSink(int32_t id) const;

    // Formats the line for every accepting sink and hands it over. A channel
    // outside 0..ChannelCount-1 throws std::out_of_range.
    void write(LevelType level, const std::string& source, const std::string& text, int channel = 0);

    // write() on the handler when one exists; lines written before start-up
    // or without a handler are dropped.
    static void log(LevelType level, const std::string& source, const std::string& text, int channel = 0);

    // The default sink: the text to standard output, and to the debugger output,
    // with its non-printable bytes escaped (escapeNonPrintable).
    static void writeToConsole(const std::string& text, LevelType level);

    static bool isWarning(LevelType level) { return level == Warning; }
    static bool isError(LevelType level) { return level >= Error && level <= Fatal; }
    static const char* levelName(LevelType level);

private:
    struct SinkTable {
        SinkTable();

        std::unordered_map<int32_t, std::shared_ptr<Sink>> sinks;
        int32_t lastId = 0;
        int channelCount = ChannelCount;
    };

    SinkTable m_table;
    mutable std::recursive_mutex m_mutex;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace zor
