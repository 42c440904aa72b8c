#include "platform/PresentRows.h"

#include <algorithm>

namespace platform {

int TextureFormatOf(int sourceFormat)
{
    return sourceFormat == FormatPal8 ? FormatXRGB8888 : sourceFormat;
}

bool ClipPresent(int& x, int& y, const PixelSource& source, PixelRect& part, int width, int height)
{
    part.left = std::max(part.left, 0);
    part.top = std::max(part.top, 0);
    part.right = std::min(part.right, source.width);
    part.bottom = std::min(part.bottom, source.height);
    if (x < 0) {
        part.left -= x;
        x = 0;
    }
    if (y < 0) {
        part.top -= y;
        y = 0;
    }
    part.right = std::min(part.right, part.left + (width - x));
    part.bottom = std::min(part.bottom, part.top + (height - y));
    return part.left < part.right && part.top < part.bottom;
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
