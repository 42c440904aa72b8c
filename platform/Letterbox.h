#pragma once
// A logical client area shown scaled and centred in a larger window (desktop
// full screen), with the bars around it. The display and the mouse share it.

#include "platform/WindowSystem.h"

namespace platform {

struct Letterbox {
    double scale = 1.0;
    int offsetX = 0;
    int offsetY = 0;
    int width = 0;  // the scaled area
    int height = 0;
};

Letterbox FitLetterbox(Size outer, Size logical);

// A window point in client coordinates; points on the bars land outside
// 0..logical size, as a point outside a window does.
Point ToLogical(const Letterbox& box, Point outer);
Point ToOuter(const Letterbox& box, Point logical);

} // namespace platform
