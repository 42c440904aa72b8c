#pragma once
// Cursor files read by our own reader: a static cursor (.cur, or an icon
// file) and an animated one (RIFF "ACON": anih, optional rate and seq, a LIST
// fram of icon chunks). The bytes are untrusted: every size and offset is
// checked before it is read, and a file that does not hold together is
// refused whole.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// The largest cursor image side and the most frames and steps accepted.
inline constexpr int MaxCursorSide = 256;
inline constexpr std::size_t MaxCursorFrames = 256;
inline constexpr std::size_t MaxCursorSteps = 1024;

struct CursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0; // from the directory entry, inside the image
    int hotY = 0;
    std::vector<std::uint32_t> argb; // top row first, straight alpha
};

struct CursorAnimation {
    std::vector<CursorImage> frames;
    // One entry per step: the frame shown and for how long (1/60 s units).
    struct Step {
        std::uint32_t frame;
        std::uint32_t jiffies;
    };
    std::vector<Step> steps;
};

// A .cur/.ico file gives one frame and one step; an .ani file its frames and
// steps. False (and out empty) for anything else or anything damaged.
bool ReadCursorFile(const std::uint8_t* data, std::size_t size, CursorAnimation& out);

} // namespace platform
