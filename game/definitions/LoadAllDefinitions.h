#pragma once
// The one background job that loads the game data: every definitions file in a fixed
// order, the inventory items of the resources, the compiled machines, then the patch
// library. Post it to the threaded work queue:
//
//     threadedWorkQueue.post(&loadAllDefinitions);
//
// Jobs posted after it on the same queue find everything loaded. Only the first complete
// run does any work; later postings return at once. It throws CheckReleaseError on the
// first failure (the queue then reports "Worker thread: " + the text), leaving the
// registries loaded before the failure as they are and the rest empty.

namespace zor {

void loadAllDefinitions();

// Whether a run of loadAllDefinitions has completed; any thread.
bool allDefinitionsLoaded();

} // namespace zor
