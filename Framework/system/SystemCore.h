#pragma once
// System initialisation and shutdown: the engine services in their fixed order.

namespace zor {

// Resets the state machine and the application state, registers the game's factories
// and view sizes, creates the services and hands the game the state request handler.
// A CheckReleaseError while creating the services goes to the load-error handler.
void initSystem();

// The engine services, in start-up order.
void createServices();

// Joins the worker and drops both work queues (their pending jobs unrun).
void deleteWorkQueues();

// After the main loop: the work queues, the current game state, the system components,
// the services, and the textures nobody holds any more.
void shutdownSystem();

// The services shutdown deletes (the log, the system events, the localization and the
// random generator live until the process ends).
void releaseServices();

} // namespace zor
