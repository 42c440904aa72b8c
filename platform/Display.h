#pragma once
// The screen the player presents to: the DirectDraw object of the screen
// manager, its surfaces and its clipper, shaped by what the screen code asks of
// them. Pixel formats are the player's surface-type codes; a display reports
// one of 2..8. Every call belongs to the application thread.

#include "platform/WindowSystem.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace platform {

enum DisplayFormat : int {
    FormatPal8 = 2,
    FormatRGB565 = 3,
    FormatRGB555 = 4,
    FormatRGB888 = 5,   // bytes blue, green, red
    FormatBGR888 = 6,   // bytes red, green, blue
    FormatXRGB8888 = 7, // bytes blue, green, red, spare
    FormatXBGR8888 = 8, // bytes red, green, blue, spare
};

int DisplayFormatBytes(int format);

// A surface's pixel format as a display driver describes it.
struct DisplayPixelFormat {
    std::uint32_t bitCount = 0;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
};

DisplayPixelFormat DescribeDisplayFormat(int format);

// The format a display reports: XRGB8888, the format of a Linux desktop, unless
// QUILTOR_DISPLAY_FORMAT names another (RGB565, RGB555, RGB888, BGR888,
// XBGR8888, or Pal8 for an emulated 8-bit screen).
int DisplayFormatFromEnvironment();
int ParseDisplayFormat(std::string_view name);

struct PaletteColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The 256 colours of the emulated 8-bit screen: the 20 static colours at both
// ends, a 6 x 6 x 6 cube and a grey ramp between.
std::vector<PaletteColour> EmulatedSystemPalette();

// Pixels handed to a present; the part is [left, right) x [top, bottom).
struct PixelSource {
    const void* pixels = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
    int format = FormatXRGB8888;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class IDisplayClipper {
public:
    virtual ~IDisplayClipper() = default;
    virtual bool SetWindow(WindowHandle window) = 0;
};

// A surface of the display: memory in the display's format, or the primary
// (the window's picture), which refuses to be locked.
class IDisplaySurface {
public:
    virtual ~IDisplaySurface() = default;
    // False when the surface cannot describe itself.
    virtual bool GetPixelFormat(DisplayPixelFormat* out) = 0;
    virtual bool Lock(void** pixels, int* pitch) = 0;
    virtual void Unlock() = 0;
    virtual bool IsLost() = 0;
    virtual bool SetClipper(IDisplayClipper* clipper) = 0;
    // Primary only: shows the part of source with its top-left corner at
    // (x, y) of the picture, letterboxed into the window.
    virtual bool Blt(int x, int y, const PixelSource& source, const PixelRect& part) = 0;
};

class IDisplay {
public:
    virtual ~IDisplay() = default;
    virtual bool Initialize(bool emulationOnly) = 0;
    virtual bool SetCooperativeLevel(WindowHandle window, bool exclusive) = 0;
    virtual bool SetDisplayMode(int width, int height, int bitsPerPixel) = 0;
    virtual bool RestoreDisplayMode() = 0;
    // The picture of the cooperating window, width x height pixels.
    virtual std::unique_ptr<IDisplaySurface> CreatePrimary(int width, int height) = 0;
    virtual std::unique_ptr<IDisplaySurface> CreateSurface(int width, int height) = 0;
    virtual std::unique_ptr<IDisplayClipper> CreateClipper() = 0;
    // Empty unless the display is 8 bits per pixel.
    virtual std::vector<PaletteColour> SystemPalette() = 0;
    // The pixel format of the screen's current mode.
    virtual DisplayPixelFormat GetDisplayMode() = 0;
};

class IDisplaySystem {
public:
    virtual ~IDisplaySystem() = default;
    // Null when no display can be made.
    virtual std::unique_ptr<IDisplay> CreateDisplay() = 0;
};

// The headless system until the executable installs the SDL one.
IDisplaySystem& Displays();
void InstallDisplays(std::unique_ptr<IDisplaySystem> system);

// An SDL renderer (no vsync) on the window of the SDL window system, with one
// streaming texture; lost when SDL resets the render targets or the device.
std::unique_ptr<IDisplaySystem> MakeSdlDisplaySystem();

} // namespace platform
