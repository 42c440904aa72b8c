#pragma once
// The one answer to "is the player closing?", for every loop, long read,
// scan and decode, on any thread: a latch set by whatever asks for the close
// (a termination signal, the window's close box, Alt+F4 in the game, a menu,
// a box or a dialog, a WM_CLOSE posted to the window, the application told
// to end) and cleared once the run that it closes is over.

namespace platform {

// Any thread, and a signal handler.
void LatchClose();

// Whether a close has been asked. Other threads read the latch alone, with no
// call into SDL; the window's thread also looks into its queue (the look
// below), at most every 30 ms.
bool CloseAsked();

// The run the close was for has ended: the next one (a test process runs
// many) starts without it.
void ClearCloseLatch();

// The window system's look into its queue for a close not yet taken, which
// sets the latch. onItsThread answers on any thread whether it is the one that
// takes the window's messages; closeWaiting is asked on that thread alone.
void LendCloseLook(bool (*onItsThread)(), bool (*closeWaiting)());

} // namespace platform
