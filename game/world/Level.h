#pragma once
// The level being played: the record the level builder makes, with the exit records the
// World's exit objects stand for (PatchExit, moved to level coordinates).

#include "game/world/level/Level.h"
