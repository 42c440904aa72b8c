#include "draw/FastDraw.h"

#include <algorithm>
#include <cstdlib>

#include "draw/effect/EffectBlitter.h"
#include "draw/effect/PaletteTable.h"
#include "draw/effect/SurfaceFormatDetector.h"
#include "frame/ErrorLog.h"
#include "frame/ThreadLocal.h"
#include "frame/Window.h"
#include "frame/WindowApp.h"
#include "platform/Clock.h"

namespace kivotasuGameKit {

namespace {

// A switch into or out of full screen lets the display settle this long.
constexpr uint32_t ModeSwitchSettleMs = 500;

CThreadLocal<CFastDraw*>& DrawMap()
{
    static CThreadLocal<CFastDraw*> map;
    return map;
}

} // namespace

void CFastDrawRegistry::Set(CFastDraw* draw) { DrawMap().Set(draw); }
CFastDraw* CFastDrawRegistry::Get() { return DrawMap().Find(); }
void CFastDrawRegistry::RemoveMine() { DrawMap().DropCurrentThread(); }
void CFastDrawRegistry::Clear() { DrawMap().Clear(); }

CFastDraw::CFastDraw()
    : m_directDraw(true), m_primary(this), m_conversion(this), m_secondary(this)
{
    CFastDrawRegistry::Set(this);
    CAppManager* manager = CAppManager::GetInstance();
    if (CWindow* window = manager->GetMyWindow()) {
        const CWindowOption& option = window->GetOption();
        if (option.width != 0 && option.height != 0) {
            m_width = option.width;
            m_height = option.height;
        }
    }
    m_window = manager->GetHWnd();
    manager->Add(static_cast<IFastDraw*>(this));
    manager->Hook(this);
    CEffectBlitter::BuildBlendTables();
}

CFastDraw::~CFastDraw() noexcept
{
    CAppManager* manager = CAppManager::GetInstance();
    manager->Unhook(this);
    manager->DelMyDraw(this);
    m_clipper.Release();
    m_secondary.Release();
    m_conversion.Release();
    m_primary.Release();
    // Planes made later on this thread must not find a screen manager that is gone.
    if (CFastDrawRegistry::Get() == this) CFastDrawRegistry::RemoveMine();
}

CWindow* CFastDraw::Window() const
{
    return CAppManager::GetInstance()->GetMyWindow();
}

std::intptr_t CFastDraw::WndProc(platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t)
{
    if (message == platform::WM_ACTIVATEAPP && wParam != 0) m_restoreNeeded = true;
    return 0;
}

void CFastDraw::GetDisplaySize(int* width, int* height) const
{
    *width = m_width;
    *height = m_height;
}

SurfaceType CFastDraw::GetScreenType()
{
    if (m_primary.GetSurfaceInfoPtr()->IsCreated()) return m_primary.GetSurfaceType();
    platform::IDisplay* display = GetDDraw();
    if (!display) return SurfaceType(0);
    const platform::DisplayPixelFormat mode = display->GetDisplayMode();
    return SurfaceTypeFromPixelFormat(mode.bitCount, mode.redMask, mode.greenMask, mode.blueMask);
}

void CFastDraw::AddPlane(Draw::CFastPlane* plane)
{
    if (std::find(m_planes.begin(), m_planes.end(), plane) == m_planes.end()) m_planes.push_back(plane);
}

bool CFastDraw::RemovePlane(Draw::CFastPlane* plane)
{
    const auto found = std::find(m_planes.begin(), m_planes.end(), plane);
    if (found == m_planes.end()) return false;
    m_planes.erase(found);
    return true;
}

int CFastDraw::SetDisplay(bool fullScreen, int width, int height, int bitsPerPixel)
{
    if (width != 0) m_width = width;
    if (height != 0) m_height = height;
    m_bitsPerPixel = bitsPerPixel != 0 ? bitsPerPixel : 16;
    ChangeDisplay(fullScreen);
    return 0;
}

int CFastDraw::ChangeDisplay(bool fullScreen)
{
    if (!GetDDraw()) return 1;
    BeginChangeDisplay();
    if (fullScreen) TestDisplayMode(m_width, m_height, true, m_bitsPerPixel);
    // The window is the fallback of a full-screen request that failed.
    TestDisplayMode(m_width, m_height, false, 0);
    return EndChangeDisplay() != 0 ? 2 : 0;
}

int CFastDraw::BeginChangeDisplay()
{
    m_lock.Enter();
    m_changePending = true;
    m_modeSwitched = false;
    platform::IDisplay* display = GetDDraw();
    if (!display) return 0;
    m_conversion.Release();
    m_clipper.Release();
    m_primary.Release();
    if (m_fullScreen) {
        if (!display->SetCooperativeLevel(m_window, false))
            ErrorLog.Out("CFastDraw::BeginChangeDisplayでSetCooperativeLevelに失敗..");
        if (!display->RestoreDisplayMode()) ErrorLog.Out("CFastDraw::BeginChangeDisplayでRestoreDisplayModeに失敗..");
    }
    return 0;
}

int CFastDraw::TestDisplayMode(int width, int height, bool fullScreen, int bitsPerPixel)
{
    platform::IDisplay* display = GetDDraw();
    if (!m_changePending || !display) return 0;
    CWindow* window = Window();
    m_modeSwitched = m_modeSwitched || m_fullScreen || fullScreen;
    if (m_modeSwitched && window) window->MarkScreenChanged();
    m_fullScreen = fullScreen;

    auto fail = [](const char* message) {
        ErrorLog.Out("%s", message);
        return 1;
    };
    if (!fullScreen) {
        if (!display->SetCooperativeLevel(m_window, false))
            return fail("CFastDraw::TestDisplayModeのSetCooperativeLevelにDDSC_NORMALで失敗");
    } else {
        if (!display->SetCooperativeLevel(m_window, true))
            return fail("CFastDraw::TestDisplayModeのSetCooperativeLevelにDDSC_EXCLUSIVEで失敗");
        if (!display->SetDisplayMode(width, height, bitsPerPixel))
            return fail("CFastDraw::TestDisplayModeのSetDisplayModeに失敗");
    }
    bool attached = false;
    if (m_primary.CreatePrimary(&attached, width, height) != 0)
        return fail("CFastDraw::TestDisplayModeでCreatePrimaryに失敗");
    m_clipper.Release();
    if (!fullScreen && m_clipper.Clip(display, m_primary.GetDDSurface(), m_window) != 0)
        return fail("CFastDraw::TestDisplayModeでClipに失敗");
    if (m_secondary.CreateSecondary(&m_primary, &attached) != 0)
        return fail("CFastDraw::TestDisplayModeでCreateSecondaryに失敗");
    if (m_primary.GetSurfaceType() == Pal8) m_conversion.InnerCreateSurface(width, height, false, true);
    if (window) {
        window->SetFullScreen(fullScreen);
        window->ChangeScreen();
    }
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
    m_changePending = false;
    return 0;
}

int CFastDraw::EndChangeDisplay()
{
    if (!GetDDraw()) {
        m_lock.Leave();
        return 1;
    }
    if (m_changePending) {
        ErrorLog.Out("CFastDraw::BeginChangeDisplay～EndChangeDisplayに失敗");
        m_lock.Leave();
        return 1;
    }
    if (m_modeSwitched) platform::Clock().Sleep(ModeSwitchSettleMs);
    if (CWindow* window = Window()) {
        window->ShowCursor(!m_fullScreen);
        window->SetSizeLater(m_width, m_height);
        window->SetFullScreen(m_fullScreen);
        window->ChangeScreen();
    }
    for (Draw::CFastPlane* plane : m_planes) plane->RestoreSurface();
    UpdatePaletteTable();
    m_lock.Leave();
    return 0;
}

void CFastDraw::CheckLost()
{
    platform::IDisplaySurface* primary = m_primary.GetDDSurface();
    if (primary && primary->IsLost()) ChangeDisplay(m_fullScreen);
}

void CFastDraw::ApplyBrightness(int level)
{
    if (m_brightness != 256) m_secondary.FadeEffect(level, nullptr);
}

void CFastDraw::OnDraw(const RECT* part, bool callbacks)
{
    CWindow* window = Window();
    if (window && window->IsMinimized()) return;
    if (m_restoreNeeded) {
        IWindowApp* app = CAppManager::GetInstance()->GetMyWindowApp();
        if (app && app->IsThreadValid()) {
            CheckLost();
            m_restoreNeeded = false;
        }
        return;
    }
    platform::IDisplaySurface* primary = m_primary.GetDDSurface();
    if (!primary) return;

    if (callbacks) {
        const auto back = reinterpret_cast<std::uintptr_t>(&m_secondary);
        m_beforeDraw.CallSecond(back);
        if (!m_dcDraw.IsEmpty()) {
            if (HDC dc = m_secondary.BeginPaint()) {
                m_dcDraw.CallFirst(reinterpret_cast<std::uintptr_t>(dc));
                m_secondary.EndPaint();
            }
        }
        m_afterDraw.CallSecond(back);
        ApplyBrightness(m_brightness);
    }

    Draw::CFastPlane* shown = &m_secondary;
    if (m_primary.GetSurfaceType() == Pal8) {
        m_conversion.CopyBlt(&m_secondary, 0, 0);
        shown = &m_conversion;
    }
    CSurfaceInfo* source = shown->GetSurfaceInfoPtr();
    if (!source->IsCreated()) return;
    const RECT whole{0, 0, source->GetWidth(), source->GetHeight()};
    const RECT rect = part ? *part : whole;
    CSurfaceLock lock(*source);
    if (!lock) return;
    const platform::PixelSource pixels{source->GetPixels(), source->GetPitch(), source->GetWidth(),
                                       source->GetHeight(), source->GetType()};
    // The picture is the window's client area in both modes: a part lands
    // where it lies in the back plane.
    primary->Blt(rect.left, rect.top, pixels, {rect.left, rect.top, rect.right, rect.bottom});
}

void CFastDraw::UpdatePaletteTable()
{
    platform::IDisplay* display = GetDDraw();
    if (!display) return;
    const std::vector<platform::PaletteColour> palette = display->SystemPalette();
    if (palette.empty()) return;
    const size_t count = std::min<size_t>(palette.size(), 256);
    for (int colour = 0; colour < 32768; ++colour) {
        const int r = ((colour >> 10) & 0x1F) * 8, g = ((colour >> 5) & 0x1F) * 8, b = (colour & 0x1F) * 8;
        int best = 0, bestDistance = 1 << 30;
        for (size_t i = 0; i < count; ++i) {
            const int distance =
                std::abs(r - palette[i].red) + std::abs(g - palette[i].green) + std::abs(b - palette[i].blue);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = int(i);
            }
        }
        PaletteTable[colour] = uint8_t(best);
    }
}

} // namespace kivotasuGameKit
