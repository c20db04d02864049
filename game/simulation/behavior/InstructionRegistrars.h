#pragma once
// The registrars of the behaviour instructions, by family; the EnemySimulator calls them
// in this order, and each registers its names once.

namespace zor {

class EnemySimulator;

void registerGeneralInstructions(EnemySimulator& simulator);
void registerMovementInstructions(EnemySimulator& simulator);
void registerCombatInstructions(EnemySimulator& simulator);
void registerCreatureInstructions(EnemySimulator& simulator);
void registerBarrelInstructions(EnemySimulator& simulator);
void registerNpcInstructions(EnemySimulator& simulator);
void registerBossInstructions(EnemySimulator& simulator);

} // namespace zor
