#include "draw/effect/SurfaceFormatDetector.h"

#include "frame/ErrorLog.h"

namespace kivotasuGameKit {

SurfaceType SurfaceTypeFromPixelFormat(uint32_t bitCount, uint32_t r, uint32_t g, uint32_t b)
{
    const bool rgb = r == 0xFF0000 && g == 0xFF00 && b == 0xFF, bgr = r == 0xFF && g == 0xFF00 && b == 0xFF0000;
    switch (bitCount) {
    case 8:
        return Pal8;
    case 16:
        if (r == 0xF800 && g == 0x07E0 && b == 0x001F) return RGB565;
        if (r == 0x7C00 && g == 0x03E0 && b == 0x001F) return RGB555;
        ErrorLog.Out("CDirectDrawSurfaceManager::16bppの不明ピクセルフォーマット検出");
        break;
    case 24:
        if (rgb) return RGB888;
        if (bgr) return BGR888;
        ErrorLog.Out("CDirectDrawSurfaceManager::24bppの不明ピクセルフォーマット検出");
        break;
    case 32:
        if (rgb) return XRGB8888;
        if (bgr) return XBGR8888;
        ErrorLog.Out("CDirectDrawSurfaceManager::32bppの不明ピクセルフォーマット検出");
        break;
    default:
        ErrorLog.Out("CDirectDrawSurfaceManager::bpp不明のピクセルフォーマット検出");
        ErrorLog.Out("nBpp=%u BMask=0x%x BMask=0x%x BMask=0x%x", bitCount, r, g, b);
        return SurfaceType(1);
    }
    ErrorLog.Out("BMask=0x%x BMask=0x%x BMask=0x%x", r, g, b);
    return SurfaceType(1);
}

} // namespace kivotasuGameKit
