#pragma once
// The seam to the store service (achievements, leaderboards, the in-game overlay). This
// build has no store client: start-up and shutdown do nothing, no callback ever runs and
// the overlay is never active. A client, installed with setStoreService, fills these in
// without changes to the callers.

#include "Framework/store/IStoreService.h"

#include <functional>
#include <memory>

namespace zor {

// The store service in use: the one installed last, or the one without a client.
IStoreService& storeService();
// Installs `service`; null goes back to no client. The overlay listener moves along.
void setStoreService(std::unique_ptr<IStoreService> service);

// Start-up: connects to the store client. False when none runs; start-up ignores it.
bool storeInit();
// Shutdown: disconnects.
void storeShutdown();
// Whether a store client is present; the store mirrors are made only then.
bool storeClientPresent();
// Delivers pending store callbacks; the update step calls it once per step.
void storeRunCallbacks();

// Called with true when the store's overlay opens over the game and false when it closes.
using StoreOverlayListener = std::function<void(bool active)>;
// Registers the listener for the overlay-activated callback; an empty one unregisters.
void setStoreOverlayListener(StoreOverlayListener listener);

} // namespace zor
