#pragma once
// The mouse as one frame sees it: the edges are taken from the cursor once a
// frame, so the wait, the buttons and the popup check of that frame all read
// the same presses and none is consumed twice.

#include <cstdint>

struct CFrameInput {
    bool moved = false; // moved, pressed or released since the last frame
    bool leftDown = false;
    bool rightDown = false;
    bool leftUp = false;
    bool leftHeld = false;
    std::int32_t wheel = 0;
    std::int32_t x = 0, y = 0; // the cursor in client coordinates
};
