#pragma once
// Console commands: named operations with a fixed number of text arguments, run from
// the program's command line at start-up and from level-editor messages in the main loop.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zor {

using CommandHandler = std::function<void(const std::vector<std::string>& arguments)>;

struct Command {
    std::string name;
    std::size_t argumentCount = 0;
    CommandHandler handler;
};

// Creates or overwrites the command of that name.
void registerCommand(const std::string& name, std::size_t argumentCount, CommandHandler handler);

// Walks the words: "-name" followed by at least as many words as the command takes runs
// it with those words (whatever they look like); every other word is skipped on its own.
// Unknown commands, missing arguments and stray words are ignored without a message.
void runCommandArguments(const std::vector<std::string>& words);

// The program arguments after the program name.
void runCommandLine(int argc, const char* const* argv);

// Level-editor text: every word in double quotes; a quoted word may hold blanks, and text
// outside quotes forms words too, trimmed, but is not split at blanks.
void runPipeText(const std::string& text);

} // namespace zor
