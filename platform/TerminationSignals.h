#pragma once
// SIGINT, SIGTERM and SIGHUP (a closed terminal, a dropped remote session)
// ask the player to close instead of killing it.

namespace platform {

// Installs the handlers; call once from the entry thread before other threads
// start. A SIGHUP the player was started to ignore (nohup) stays ignored.
void CloseOnTerminationSignals();

// True once per signal received since the last call: the window takes each
// as a close of its own. Every signal sets the close latch too (CloseLatch.h).
bool TakeTerminationRequest();

} // namespace platform
