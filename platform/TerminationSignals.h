#pragma once
// SIGINT and SIGTERM ask the player to close instead of killing it.

namespace platform {

// Installs the handlers; call once from the entry thread before other threads start.
void CloseOnTerminationSignals();

// True once per signal received since the last call: the window takes each
// as a close of its own. Every signal sets the close latch too (CloseLatch.h).
bool TakeTerminationRequest();

} // namespace platform
