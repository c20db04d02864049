#pragma once
// The choice of sound output before OpenAL is first used. openal-soft settles on one
// backend per process at its first call, and a machine without a sound device (a server,
// a container, a virtual X session) makes the default device fail to open, which would
// end start-up. So the default device is tried once in a child process; when it cannot
// be opened, openal-soft is given its null backend and the game runs silently.

namespace zor {

// Leaves an ALSOFT_DRIVERS given by the user alone. Must run while the program has only
// one thread (it forks). True when the null backend was chosen.
bool chooseAudioOutput();

// Whether chooseAudioOutput chose the null backend.
bool nullAudioOutputChosen();

} // namespace zor
