#pragma once
// File roots in temporary folders (game data and user folder) and a log that keeps the
// lines written while a test runs.

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "tests/support/common/TempFolder.h"

#include <string>
#include <vector>

namespace zor::test {

class InputTestFolders {
public:
    InputTestFolders() : m_userEnv("ZOR_USER_DIR", user.path().string()) {
        initFileSystem(gameData.path().string());
        log.addSink([this](const std::string& line, LogHandler::LevelType) { logLines.push_back(line); }, 1,
                    LogHandler::Verbose, "%1%");
    }

    TempFolder gameData;
    TempFolder user;
    LogHandler log;
    std::vector<std::string> logLines;

private:
    ScopedEnv m_userEnv;
};

} // namespace zor::test
