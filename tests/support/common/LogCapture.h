#pragma once
// Collects the log's lines while it lives, creating the log first when none exists.

#include "Framework/core/log/LogHandler.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor::test {

class LogCapture {
public:
    LogCapture() {
        if (!LogHandler::exists()) m_handler = std::make_unique<LogHandler>();
        m_sink = LogHandler::instance().addSink(
            [this](const std::string& line, LogHandler::LevelType level) {
                lines.push_back(line);
                if (LogHandler::isWarning(level)) warnings.push_back(line);
                if (LogHandler::isError(level)) errors.push_back(line);
            },
            99, LogHandler::Verbose, "%1%");
    }
    ~LogCapture() { LogHandler::instance().removeSink(m_sink); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;

private:
    std::unique_ptr<LogHandler> m_handler;
    std::int32_t m_sink = 0;
};

} // namespace zor::test
