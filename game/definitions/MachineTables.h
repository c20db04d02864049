#pragma once
// The compiled machines by name, one table for animation machines and one for behaviour
// machines. The load-all job fills them once, after every definition file is loaded; the
// simulation reads them afterwards (a missing name: `at` throws std::out_of_range).

#include <memory>
#include <string>

#include <boost/unordered_map.hpp>

#include "game/definitions/MachineDefinition.h"
#include "game/definitions/StateCreationData.h"

namespace zor {

using MachineTable = boost::unordered_map<std::string, std::shared_ptr<StateCreationData>>;

MachineTable& animationMachineTable();
MachineTable& behaviorMachineTable();

// Compiles every definition of `machines`, in file order, into `table`; a later machine of
// the same name replaces an earlier one. Throws CheckReleaseError naming the file, the
// machine and the state, and leaves no entry for the machine, when a state runs a machine
// not compiled before it (defined later in the file, itself, or nowhere), or when the
// initial state or a non-empty destination names no state of the machine.
void buildMachineTable(const DefinitionRegistry<MachineDefinition>& machines, const std::string& fileName,
                       MachineTable& table);

// The two passes over the global registries and tables.
void buildAnimationMachines();
void buildBehaviorMachines();

} // namespace zor
