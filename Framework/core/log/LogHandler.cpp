#include "Framework/core/log/LogHandler.h"

#include "Framework/core/text/TextUtils.h"
#include "Framework/platform/Debugger.h"

#include <cstdio>
#include <iomanip>
#include <stdexcept>

namespace zor {

namespace {

boost::format makeLayout(const std::string& layout) {
    boost::format format;
    format.exceptions(boost::io::all_error_bits &
                      ~(boost::io::too_many_args_bit | boost::io::too_few_args_bit));
    format.parse(layout);
    return format;
}

} // namespace

LogHandler::SinkTable::SinkTable() : sinks(11) {
    sinks.max_load_factor(1.0f);
}

LogHandler::LogHandler() {
    const int32_t id = addSink(&LogHandler::writeToConsole, DefaultSinkNumber, Verbose, DefaultLayout);
    // Applied once to the parsed item, so it holds for every line formatted later.
    m_table.sinks.at(id)->format.modify_item(1, std::setw(SourceWidth));
}

LogHandler::~LogHandler() = default;

int32_t LogHandler::addSink(Callback callback, int32_t number, LevelType level, const std::string& layout) {
    auto sink = std::make_shared<Sink>();
    sink->format = makeLayout(layout);
    sink->callback = std::move(callback);
    sink->number = number;

    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    sink->levels.assign(static_cast<std::size_t>(m_table.channelCount), level);
    sink->id = ++m_table.lastId;
    m_table.sinks.emplace(sink->id, sink);
    return sink->id;
}

std::size_t LogHandler::removeSink(int32_t id) {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_table.sinks.erase(id);
}

const LogHandler::Sink* LogHandler::findSink(int32_t id) const {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const auto found = m_table.sinks.find(id);
    return found == m_table.sinks.end() ? nullptr : found->second.get();
}

void LogHandler::write(LevelType level, const std::string& source, const std::string& text, int channel) {
    if (channel < 0 || channel >= m_table.channelCount)
        throw std::out_of_range("Log channel " + std::to_string(channel) + " does not exist");

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.3f", seconds);

    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    std::vector<int32_t> receivers;
    for (const auto& [id, sink] : m_table.sinks) {
        if (level >= sink->levels[static_cast<std::size_t>(channel)])
            receivers.push_back(id);
    }
    // A callback may add or remove sinks: look each one up again, and keep it
    // alive while its callback runs.
    for (int32_t id : receivers) {
        const auto found = m_table.sinks.find(id);
        if (found == m_table.sinks.end())
            continue;
        const std::shared_ptr<Sink> sink = found->second;
        sink->format.clear();
        sink->format % text % static_cast<int>(level) % channel % elapsed % levelName(level) % source;
        std::string line = sink->format.str();
        if (line.empty() || line.back() != '\n')
            line += '\n';
        sink->callback(line, level);
    }
}

void LogHandler::log(LevelType level, const std::string& source, const std::string& text, int channel) {
    if (exists())
        instance().write(level, source, text, channel);
}

void LogHandler::writeToConsole(const std::string& text, LevelType) {
    // Lines may quote damaged data; its raw bytes could garble the terminal.
    const std::string shown = escapeNonPrintable(text);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fflush(stdout);
    debuggerOutput(shown);
}

const char* LogHandler::levelName(LevelType level) {
    switch (level) {
    case Verbose: return "Verbose";
    case Debug: return "Debug";
    case Info: return "Info";
    case Warning: return "Warning";
    case Error: return "Error";
    case Critical: return "Critical";
    case Fatal: return "Fatal";
    }
    return "Info";
}

} // namespace zor
