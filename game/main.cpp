#include <iostream>

int main() {
    std::cout << "Morrowdeep: the engine builds; the game window arrives with the program's start-up.\n";
    return 0;
}
