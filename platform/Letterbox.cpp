#include "platform/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace platform {

Letterbox FitLetterbox(Size outer, Size logical)
{
    Letterbox box;
    if (logical.width <= 0 || logical.height <= 0 || outer.width <= 0 || outer.height <= 0)
        return box;
    box.scale = std::min(static_cast<double>(outer.width) / logical.width,
                         static_cast<double>(outer.height) / logical.height);
    box.width = static_cast<int>(std::lround(logical.width * box.scale));
    box.height = static_cast<int>(std::lround(logical.height * box.scale));
    box.offsetX = (outer.width - box.width) / 2;
    box.offsetY = (outer.height - box.height) / 2;
    return box;
}

Point ToLogical(const Letterbox& box, Point outer)
{
    return {static_cast<int>(std::floor((outer.x - box.offsetX) / box.scale)),
            static_cast<int>(std::floor((outer.y - box.offsetY) / box.scale))};
}

Point ToOuter(const Letterbox& box, Point logical)
{
    return {box.offsetX + static_cast<int>(std::lround(logical.x * box.scale)),
            box.offsetY + static_cast<int>(std::lround(logical.y * box.scale))};
}

} // namespace platform
