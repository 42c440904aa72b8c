#pragma once
// The one answer to "is the player closing?", for every long loop, read,
// scan and decode, on any thread: a latch set by whatever asks for the close
// (a termination signal, the window's close box, Alt+F4 in the game, a menu,
// a box or a dialog, a WM_CLOSE posted to the window, the application told
// to end) and cleared once the run that it closes is over.

namespace platform {

// Any thread, and a signal handler.
void LatchClose();

// Whether a close has been asked. No call into SDL: other threads read the
// latch alone; see the source for the window thread's look into its queue.
bool CloseAsked();

// The run the close was for has ended: the next one (a test process runs
// many) starts without it.
void ClearCloseLatch();

} // namespace platform
