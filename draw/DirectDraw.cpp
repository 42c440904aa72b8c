#include "draw/DirectDraw.h"

#include "draw/effect/SurfaceFormatDetector.h"
#include "frame/COMInitializer.h"
#include "frame/ErrorLog.h"

namespace kivotasuGameKit {

CDirectDraw::CDirectDraw(bool emulationOnly)
{
    CCOMInitializer::Init();
    m_display = platform::Displays().CreateDisplay();
    if (!m_display) {
        CCOMInitializer::Release();
        m_status = 1;
        return;
    }
    m_comHeld = true;
    if (emulationOnly) {
        if (m_display->Initialize(true)) return;
        ErrorLog.Out("CDirectDraw::CDirectDrawでEmulationOnlyに出来なかった");
        if (m_display->Initialize(false)) {
            m_status = 3;
            return;
        }
    } else if (m_display->Initialize(false)) {
        return;
    }
    ErrorLog.Out("CDirectDraw::CDirectDrawでHAL初期化に失敗");
    m_display.reset();
    m_status = 4;
}

CDirectDraw::~CDirectDraw()
{
    m_display.reset();
    // A display that was never made gave its count back at once.
    if (m_comHeld) CCOMInitializer::Release();
}

int CDirectDrawClipper::Clip(platform::IDisplay* draw, platform::IDisplaySurface* primary,
                             platform::WindowHandle window)
{
    Release();
    if (!draw || !primary) return 1;
    m_clipper = draw->CreateClipper();
    if (!m_clipper) {
        ErrorLog.Out("CDirectDrawClipper::ClipでClipper構築失敗");
        return 2;
    }
    if (!m_clipper->SetWindow(window)) {
        ErrorLog.Out("CDirectDrawClipper::ClipでhWNDをセットできない");
        return 3;
    }
    if (!primary->SetClipper(m_clipper.get())) {
        ErrorLog.Out("CDirectDrawClipper::ClipでSetClipperに失敗");
        return 4;
    }
    return 0;
}

SurfaceType CDirectDrawSurfaceManager::GetSurfaceType(platform::IDisplaySurface* surface)
{
    if (!surface) return SurfaceType(-1);
    platform::DisplayPixelFormat format;
    if (!surface->GetPixelFormat(&format)) {
        ErrorLog.Out("CDirectDrawSurfaceManager::GetSurfaceTypeでGetSurfaceDescに失敗");
        return SurfaceType(0);
    }
    return SurfaceTypeFromPixelFormat(format.bitCount, format.redMask, format.greenMask, format.blueMask);
}

} // namespace kivotasuGameKit
