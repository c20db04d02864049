#pragma once
// How a developer switches debug flags while the game runs: the console command
// "debug" <category> <name>, given on the command line ("-debug perf showFps") or sent
// over the level-editor channel (tools/pipe_send). Each use flips the flag; a one-shot
// set this way fires in the next step that reads it. A flag nobody has declared is
// logged and left alone.

namespace zor {

void registerDebugCommand();

} // namespace zor
