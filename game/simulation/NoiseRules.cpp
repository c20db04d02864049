// Noises made by objects. Nothing hears them until enemies get their ears.

#include "game/simulation/GameObjectSimulator.h"

namespace zor {

void GameObjectSimulator::makeNoise(GameObject&, const NoiseLevel&) {}

} // namespace zor
