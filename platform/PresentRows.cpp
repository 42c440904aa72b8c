#include "platform/PresentRows.h"

#include <algorithm>

namespace platform {

int TextureFormatOf(int sourceFormat)
{
    return sourceFormat == FormatPal8 ? FormatXRGB8888 : sourceFormat;
}

// In 64 bits: a window placed near INT_MIN or INT_MAX overflows any edge
// moved in 32. Cutting the source's left edge moves the destination with it.
bool ClipPresent(int& x, int& y, const PixelSource& source, PixelRect& part, int width, int height)
{
    struct Span {
        std::int64_t from, to, at;
    };
    const auto clip = [](Span span, std::int64_t sourceSize, std::int64_t targetSize) {
        if (span.from < 0) {
            span.at -= span.from;
            span.from = 0;
        }
        if (span.at < 0) {
            span.from -= span.at;
            span.at = 0;
        }
        span.to = std::min({span.to, sourceSize, span.from + (targetSize - span.at)});
        return span;
    };
    const Span across = clip({part.left, part.right, x}, source.width, width);
    const Span down = clip({part.top, part.bottom, y}, source.height, height);
    if (across.from >= across.to || down.from >= down.to) return false;
    part = {int(across.from), int(down.from), int(across.to), int(down.to)};
    x = int(across.at);
    y = int(down.at);
    return true;
}

void ExpandPal8(const PixelSource& source, const PixelRect& part, const std::vector<PaletteColour>& palette,
                std::vector<std::uint8_t>& out)
{
    const int width = part.right - part.left;
    out.resize(std::size_t(width) * 4 * std::size_t(part.bottom - part.top));
    std::uint8_t* to = out.data();
    for (int y = part.top; y < part.bottom; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(source.pixels) + std::ptrdiff_t(y) * source.pitch;
        for (int x = part.left; x < part.right; ++x, to += 4) {
            const std::uint8_t index = row[x];
            const PaletteColour colour = index < palette.size() ? palette[index] : PaletteColour{};
            to[0] = colour.blue;
            to[1] = colour.green;
            to[2] = colour.red;
            to[3] = 0;
        }
    }
}

} // namespace platform
