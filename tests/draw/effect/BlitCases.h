#pragma once

// Request shapes every blit family is checked with: 1:1, stretched either
// way or on one axis only, clipped on every side, anchored, with a source
// rectangle; and the narrow-row sweep over widths 1 to 33 at odd and even x.

#include <string>
#include <vector>

#include "tests/kit/pixel/RefBlit.h"

namespace pixelkit {

struct BlitCase {
    std::string name;
    RefRequest request;
    int srcWidth = 13, srcHeight = 9, dstWidth = 17, dstHeight = 11;
};

inline std::vector<BlitCase> StandardBlitCases()
{
    using kivotasuGameKit::POINT;
    using kivotasuGameKit::RECT;
    using kivotasuGameKit::SIZE;
    std::vector<BlitCase> cases;
    const auto add = [&](std::string name, std::optional<POINT> point, std::optional<SIZE> size = std::nullopt,
                         std::optional<RECT> sourceRect = std::nullopt, std::optional<RECT> clipRect = std::nullopt,
                         int anchor = 0) {
        BlitCase c;
        c.name = std::move(name);
        c.request.point = point;
        c.request.size = size;
        c.request.sourceRect = sourceRect;
        c.request.clipRect = clipRect;
        c.request.anchor = anchor;
        cases.push_back(c);
    };
    add("whole", std::nullopt);
    add("inside", POINT{3, 2});
    add("clip left top", POINT{-4, -3});
    add("clip right bottom", POINT{10, 6});
    add("stretch up clipped", POINT{-5, -4}, SIZE{26, 18});
    add("shrink", POINT{2, 1}, SIZE{5, 4});
    add("x unscaled clipped", POINT{-3, -2}, SIZE{13, 20});
    add("y unscaled clipped", POINT{-2, -3}, SIZE{29, 9});
    add("clip rect", POINT{-1, 0}, SIZE{29, 9}, std::nullopt, RECT{2, 1, 15, 10});
    add("source rect centred", POINT{8, 5}, std::nullopt, RECT{2, 1, 11, 8}, std::nullopt, 4);
    add("anchor 8 clipped", POINT{16, 10}, SIZE{11, 7}, std::nullopt, RECT{3, 2, 40, 40}, 8);
    add("source rect past edges", POINT{1, 1}, SIZE{7, 3}, RECT{-2, -2, 20, 5});
    // Error terms landing exactly on 0 at the clip edge: an unscaled axis of a
    // stretched picture clipped by one pixel, and a doubled one by two.
    add("x unscaled clipped by one", POINT{-1, -1}, SIZE{13, 20});
    add("y unscaled clipped by one", POINT{-1, -1}, SIZE{26, 9});
    add("exact clip hit", POINT{-2, -2}, SIZE{26, 18});
    // Enlargements clipped where the error lands on 0 after whole source
    // pixels: by the screen, by a clip rectangle, at a ratio of 2.5.
    add("exact clip hit after two", POINT{-4, -4}, SIZE{26, 18});
    add("exact clip hit tripled", POINT{-6, -6}, SIZE{39, 27});
    add("exact clip rect hit", POINT{1, 0}, SIZE{26, 18}, std::nullopt, RECT{5, 4, 15, 10});
    add("exact clip hit at 2.5", POINT{-5, -5}, SIZE{25, 15}, RECT{1, 1, 11, 7});
    add("odd shrink", POINT{0, 0}, SIZE{4, 3}, RECT{0, 0, 11, 9});
    return cases;
}

// Rows of widths 1 to 33 placed at even and odd x.
inline std::vector<BlitCase> NarrowRowCases()
{
    std::vector<BlitCase> cases;
    for (int width = 1; width <= 33; ++width) {
        for (int x = 0; x < 2; ++x) {
            BlitCase c;
            c.name = "width " + std::to_string(width) + " at x " + std::to_string(x);
            c.request.point = kivotasuGameKit::POINT{x, 1};
            c.srcWidth = width;
            c.srcHeight = 2;
            c.dstWidth = width + 3;
            c.dstHeight = 4;
            cases.push_back(c);
        }
    }
    return cases;
}

} // namespace pixelkit
