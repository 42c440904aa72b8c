#pragma once

#include <cstdint>
#include <list>

#include "draw/DirectDraw.h"
#include "draw/FastPlane.h"
#include "frame/AppManager.h"
#include "frame/CallbackList.h"
#include "frame/CriticalSection.h"
#include "frame/WinHook.h"

namespace kivotasuGameKit {

class CWindow;

// The screen manager of one application thread: the display object, the
// mode (window or full screen), the primary plane, the back plane the game
// composes into and a conversion plane for 8-bit screens, and the list of
// every plane with a surface. A present copies the back plane to the screen.
class CFastDraw : public IWinHook, public IFastDraw {
public:
    CFastDraw();
    CFastDraw(const CFastDraw&) = delete;
    CFastDraw& operator=(const CFastDraw&) = delete;
    ~CFastDraw() noexcept override;

    std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;
    // Presents the part (null: all) of the back plane.
    virtual void OnDraw(const RECT* part = nullptr, bool callbacks = true);

    // A width or height of 0 keeps the current one; 0 bits per pixel are 16.
    int SetDisplay(bool fullScreen, int width, int height, int bitsPerPixel);
    // 0; 1 without a display object; 2 when no mode could be set.
    int ChangeDisplay(bool fullScreen);
    int BeginChangeDisplay();
    // 0 set (or nothing pending), 1 a step failed (logged).
    int TestDisplayMode(int width, int height, bool fullScreen, int bitsPerPixel);
    int EndChangeDisplay();
    void CheckLost();

    void GetDisplaySize(int* width, int* height) const;
    bool IsFullScreen() const { return m_fullScreen; }
    int GetBitsPerPixel() const { return m_bitsPerPixel; }
    void SetBrightness(int brightness) { m_brightness = brightness; }
    int GetBrightness() const { return m_brightness; }
    void ApplyBrightness(int level);

    void AddPlane(Draw::CFastPlane* plane);
    bool RemovePlane(Draw::CFastPlane* plane);
    std::size_t GetPlaneCount() const { return m_planes.size(); }
    // Nearest system-palette entry of every RGB555 colour, first entry on a tie;
    // the table keeps its contents when the screen has no palette.
    void UpdatePaletteTable();

    // The type of the primary plane, or of the display's mode while there is
    // no primary: a display always reports one.
    SurfaceType GetScreenType();
    platform::IDisplay* GetDDraw() const { return m_directDraw.Get(); }
    CDirectDraw& GetDirectDraw() { return m_directDraw; }

    CCallbackList& GetBeforeDrawList() { return m_beforeDraw; }
    CCallbackList& GetAfterDrawList() { return m_afterDraw; }
    CCallbackList& GetDCDrawList() { return m_dcDraw; }

private:
    CWindow* Window() const;

    CDirectDraw m_directDraw;
    bool m_fullScreen = false;
    int m_width = 640;
    int m_height = 480;
    int m_bitsPerPixel = 16;
    bool m_changePending = false;
    bool m_modeSwitched = false;
    int m_brightness = 256;
    platform::WindowHandle m_window = 0;
    CCallbackList m_beforeDraw;
    CCallbackList m_afterDraw;
    CCallbackList m_dcDraw;
    bool m_restoreNeeded = false;
    std::list<Draw::CFastPlane*> m_planes;
    CDirectDrawClipper m_clipper;
    KTL::CCriticalSection m_lock;

public:
    // After the display object and the plane list, which outlive them.
    Draw::CFastPlane m_primary;
    Draw::CFastPlane m_conversion;
    Draw::CFastPlane m_secondary;
};

// The screen manager of each thread.
class CFastDrawRegistry {
public:
    static void Set(CFastDraw* draw);
    // Null when the calling thread has none.
    static CFastDraw* Get();
    static void RemoveMine();
    static void Clear();
};

} // namespace kivotasuGameKit
