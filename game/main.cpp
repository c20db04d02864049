#include "Framework/system/Program.h"
#include "game/ui/GameStates.h"

int main(int argc, char** argv) {
    zor::installGameHooks();
    return zor::runProgram(argc, argv);
}
