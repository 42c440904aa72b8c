#pragma once
// What the displays share when they present: clipping the part to the picture
// and bringing emulated 8-bit pixels into a format a texture can hold.

#include "platform/Display.h"

#include <cstdint>
#include <vector>

namespace platform {

// Pal8 is shown through XRGB8888; every other format as it is.
int TextureFormatOf(int sourceFormat);

// Clips part to the source and the destination rectangle (x, y) + part to a
// picture of width x height; false when nothing is left.
bool ClipPresent(int& x, int& y, const PixelSource& source, PixelRect& part, int width, int height);

// Rows of the part of a Pal8 source as XRGB8888 rows (pitch = width x 4);
// indexes the palette does not hold show black.
void ExpandPal8(const PixelSource& source, const PixelRect& part, const std::vector<PaletteColour>& palette,
                std::vector<std::uint8_t>& out);

} // namespace platform
