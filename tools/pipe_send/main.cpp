// Sends console commands to a running game over the level-editor channel, the way the
// level editor does: every argument becomes one word in double quotes.
//   pipe_send -set Screen.VSync 0

#include "Framework/core/commands/NamedPipe.h"
#include "Framework/platform/LocalSocket.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: pipe_send -command [arguments...]\n";
        return 2;
    }
    std::string message;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.find('"') != std::string::npos) {
            std::cerr << "pipe_send: a word cannot hold a double quote: " << word << "\n";
            return 2;
        }
        if (!message.empty()) message += ' ';
        message += '"' + word + '"';
    }
    if (message.size() > zor::NamedPipe::kMessageLimit) {
        std::cerr << "pipe_send: message longer than " << zor::NamedPipe::kMessageLimit << " bytes\n";
        return 2;
    }
    std::string error;
    if (!zor::sendLocalMessage(zor::kLevelEditorPipeName, message, &error)) {
        std::cerr << "pipe_send: " << error << "\n";
        return 1;
    }
    return 0;
}
