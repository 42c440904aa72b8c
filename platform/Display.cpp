#include "platform/Display.h"

#include "platform/ServiceSlot.h"
#include "platform/HeadlessDisplay.h"

#include <cstdlib>
#include <strings.h>

namespace platform {

namespace {

ServiceSlot<IDisplaySystem, HeadlessDisplaySystem>& Slot()
{
    static ServiceSlot<IDisplaySystem, HeadlessDisplaySystem> slot;
    return slot;
}

} // namespace

IDisplaySystem& Displays()
{
    return Slot().Get();
}

void InstallDisplays(std::unique_ptr<IDisplaySystem> system)
{
    Slot().Install(std::move(system));
}

int DisplayFormatBytes(int format)
{
    switch (format) {
    case FormatPal8: return 1;
    case FormatRGB565: case FormatRGB555: return 2;
    case FormatRGB888: case FormatBGR888: return 3;
    case FormatXRGB8888: case FormatXBGR8888: return 4;
    default: return 0;
    }
}

DisplayPixelFormat DescribeDisplayFormat(int format)
{
    switch (format) {
    case FormatPal8: return {8, 0, 0, 0};
    case FormatRGB565: return {16, 0xF800, 0x07E0, 0x001F};
    case FormatRGB555: return {16, 0x7C00, 0x03E0, 0x001F};
    case FormatRGB888: return {24, 0xFF0000, 0xFF00, 0xFF};
    case FormatBGR888: return {24, 0xFF, 0xFF00, 0xFF0000};
    case FormatXRGB8888: return {32, 0xFF0000, 0xFF00, 0xFF};
    case FormatXBGR8888: return {32, 0xFF, 0xFF00, 0xFF0000};
    default: return {};
    }
}

int ParseDisplayFormat(std::string_view name)
{
    static constexpr struct {
        const char* name;
        int format;
    } Names[] = {
        {"Pal8", FormatPal8},       {"RGB565", FormatRGB565},     {"RGB555", FormatRGB555},
        {"RGB888", FormatRGB888},   {"BGR888", FormatBGR888},     {"XRGB8888", FormatXRGB8888},
        {"XBGR8888", FormatXBGR8888},
    };
    for (const auto& entry : Names) {
        if (name.size() == std::string_view(entry.name).size()
            && strncasecmp(name.data(), entry.name, name.size()) == 0)
            return entry.format;
    }
    return FormatXRGB8888;
}

int DisplayFormatFromEnvironment()
{
    const char* name = std::getenv("QUILTOR_DISPLAY_FORMAT");
    return name ? ParseDisplayFormat(name) : FormatXRGB8888;
}

std::vector<PaletteColour> EmulatedSystemPalette()
{
    static constexpr PaletteColour Low[10] = {
        {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
        {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    };
    static constexpr PaletteColour High[10] = {
        {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
        {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
    };
    std::vector<PaletteColour> palette(Low, Low + 10);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back({std::uint8_t(r * 51), std::uint8_t(g * 51), std::uint8_t(b * 51)});
    // 20 greys strictly between the cube's steps.
    for (int i = 1; palette.size() < 246; ++i) {
        const auto grey = std::uint8_t(i * 255 / 21);
        palette.push_back({grey, grey, grey});
    }
    palette.insert(palette.end(), High, High + 10);
    return palette;
}

} // namespace platform
