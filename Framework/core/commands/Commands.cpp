#include "Framework/core/commands/Commands.h"

#include <boost/algorithm/string/trim.hpp>

#include <map>

namespace zor {

namespace {

std::map<std::string, Command>& registry() {
    static std::map<std::string, Command> commands;
    return commands;
}

} // namespace

void registerCommand(const std::string& name, std::size_t argumentCount, CommandHandler handler) {
    Command& command = registry()[name];
    command.name = name;
    command.argumentCount = argumentCount;
    command.handler = std::move(handler);
}

void runCommandArguments(const std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word[0] != '-') continue;
        auto found = registry().find(word.substr(1));
        if (found == registry().end()) continue;
        const std::size_t count = found->second.argumentCount;
        if (words.size() - i - 1 < count) continue;
        // A handler may re-register commands, so it runs from its own copy.
        const CommandHandler handler = found->second.handler;
        const std::vector<std::string> arguments(words.begin() + i + 1, words.begin() + i + 1 + count);
        i += count;
        if (handler) handler(arguments);
    }
}

void runCommandLine(int argc, const char* const* argv) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
    runCommandArguments(words);
}

void runPipeText(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t quote = text.find('"', start);
        if (quote == std::string::npos) quote = text.size();
        std::string piece = boost::algorithm::trim_copy(text.substr(start, quote - start));
        if (!piece.empty()) words.push_back(std::move(piece));
        start = quote + 1;
    }
    runCommandArguments(words);
}

} // namespace zor
