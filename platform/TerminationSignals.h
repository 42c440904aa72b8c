#pragma once
// SIGINT, SIGTERM and SIGHUP (a closed terminal, a dropped remote session)
// ask the player to close instead of killing it: each sets the close latch
// (CloseLatch.h), which every loop asks. SIGPIPE is ignored: a closed pipe
// is a failed write, not an end of play.

namespace platform {

// Installs the handlers; call once from the entry thread before other threads
// start. A SIGHUP the player was started to ignore (nohup) stays ignored.
void CloseOnTerminationSignals();

} // namespace platform
