// Cursor files (.cur, .ico and animated .ani): whatever the bytes, the reader
// accepts a whole cursor or refuses, and what it accepts holds together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/Cursors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::CursorAnimation cursor;
    if (!platform::ReadCursorFile(data, size, cursor)) {
        if (!cursor.frames.empty() || !cursor.steps.empty()) std::abort();
        return 0;
    }
    if (cursor.frames.empty() || cursor.steps.empty()) std::abort();
    for (const platform::CursorImage& image : cursor.frames) {
        if (image.width < 1 || image.height < 1 || image.width > platform::MaxCursorSide ||
            image.height > platform::MaxCursorSide || image.argb.size() != std::size_t(image.width) * std::size_t(image.height) ||
            image.hotX < 0 || image.hotY < 0 || image.hotX >= image.width || image.hotY >= image.height)
            std::abort();
    }
    for (const auto& step : cursor.steps)
        if (step.frame >= cursor.frames.size() || step.jiffies == 0) std::abort();
    // Any time lands on a step.
    if (platform::CursorStepAt(cursor, 123456) >= cursor.steps.size()) std::abort();
    return 0;
}
