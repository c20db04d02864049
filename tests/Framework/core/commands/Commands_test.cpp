#include "Framework/core/commands/Commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

// Every run of a test command, as "name(arg,arg)".
class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        record("set", 2);
        record("ping", 0);
        record("one", 1);
    }

    void record(const std::string& name, std::size_t count) {
        registerCommand(name, count, [this, name](const std::vector<std::string>& arguments) {
            std::string call = name + "(";
            for (std::size_t i = 0; i < arguments.size(); ++i) call += (i ? "," : "") + arguments[i];
            calls.push_back(call + ")");
        });
    }

    std::vector<std::string> calls;
};

struct WordsCase {
    std::vector<std::string> words;
    std::vector<std::string> calls;
};

TEST_F(CommandsTest, ArgumentWordsRunCommandsAndSkipEverythingElseOneWordAtATime) {
    const WordsCase cases[] = {
        {{"-set", "Screen.VSync", "0"}, {"set(Screen.VSync,0)"}},
        {{"-set", "Screen.VSync"}, {}},
        // Arguments are taken whatever they look like; the leftover word is skipped.
        {{"-set", "-set", "x", "y"}, {"set(-set,x)"}},
        {{"-set", "-one", "x"}, {"set(-one,x)"}},
        // Too short, unknown, wrong case, doubled dash: each skipped alone, scanning goes on.
        {{"-", "-set", "a", "b"}, {"set(a,b)"}},
        {{"-nope", "-set", "a", "b"}, {"set(a,b)"}},
        {{"-SET", "a", "b"}, {}},
        {{"--set", "a", "b"}, {}},
        {{"stray", "-ping", "more", "-one", "x"}, {"ping()", "one(x)"}},
        // A command short of arguments is skipped, then its would-be arguments are examined.
        {{"-set", "-ping"}, {"ping()"}},
        {{"-set", "a", "b", "-set", "c", "d", "-ping"}, {"set(a,b)", "set(c,d)", "ping()"}},
        {{"-one", ""}, {"one()"}},
        {{}, {}},
    };
    for (const WordsCase& c : cases) {
        calls.clear();
        runCommandArguments(c.words);
        std::string shown;
        for (const auto& w : c.words) shown += "[" + w + "]";
        EXPECT_EQ(calls, c.calls) << shown;
    }
}

TEST_F(CommandsTest, CommandLineSkipsTheProgramName) {
    const char* argv[] = {"-ping", "-set", "Screen.VSync", "0"};
    runCommandLine(4, argv);
    EXPECT_EQ(calls, (std::vector<std::string>{"set(Screen.VSync,0)"}));

    calls.clear();
    runCommandLine(1, argv);
    runCommandLine(0, argv);
    EXPECT_TRUE(calls.empty());
}

TEST_F(CommandsTest, RegisteringAgainReplacesTheCommand) {
    std::vector<std::string> seen;
    registerCommand("set", 1, [&](const std::vector<std::string>& arguments) { seen = arguments; });
    runCommandArguments({"-set", "a", "b"});
    EXPECT_EQ(seen, std::vector<std::string>{"a"});
    EXPECT_TRUE(calls.empty());
}

TEST_F(CommandsTest, AHandlerThatReplacesItsOwnCommandFinishesItsRun) {
    int runs = 0;
    registerCommand("again", 1, [&](const std::vector<std::string>& arguments) {
        registerCommand("again", 0, nullptr);
        ++runs;
        EXPECT_EQ(arguments, std::vector<std::string>{"x"});
    });
    runCommandArguments({"-again", "x", "-again"});
    EXPECT_EQ(runs, 1);
}

struct PipeCase {
    std::string text;
    std::vector<std::string> calls;
};

TEST_F(CommandsTest, PipeTextSplitsAtQuotesAndTrimsEachWord) {
    const PipeCase cases[] = {
        {R"("-set" "Screen.VSync" "0")", {"set(Screen.VSync,0)"}},
        {R"("-set" "Debug.SetLevel" "Lantern Hollow")", {"set(Debug.SetLevel,Lantern Hollow)"}},
        // Unquoted text is one word: its command name "set A 1" is unknown.
        {"-set A 1", {}},
        {R"(-set "A" "1")", {"set(A,1)"}},
        {R"("-set""A""1")", {"set(A,1)"}},
        {"\t \"-set\"\r\n\"A\"   \" 1 \" ", {"set(A,1)"}},
        // Empty and blank quoted words vanish rather than becoming arguments.
        {R"("-set" "A" "" "  " "1")", {"set(A,1)"}},
        {R"("-set" "A" "")", {}},
        // An unclosed quote still ends a word at the end of the text.
        {R"("-set" "A" "1)", {"set(A,1)"}},
        {R"("-ping" "-one" "a b" "-set" "x")", {"ping()", "one(a b)"}},
        // Two messages joined with a blank split as two.
        {R"("-set" "A" "1")" + std::string(" ") + R"("-set" "B" "2")", {"set(A,1)", "set(B,2)"}},
        {"", {}},
        {"\"\"\"\"", {}},
    };
    for (const PipeCase& c : cases) {
        calls.clear();
        runPipeText(c.text);
        EXPECT_EQ(calls, c.calls) << c.text;
    }
}

} // namespace
} // namespace zor
