#pragma once
// SIGINT and SIGTERM ask the player to close instead of killing it.

namespace platform {

// Installs the handlers; call once from the entry thread before other threads start.
void CloseOnTerminationSignals();

// True once per signal received since the last call.
bool TakeTerminationRequest();

// Whether a signal has asked the player to close since it started, taken or
// not: a long read gives up on it.
bool TerminationRequested();

} // namespace platform
