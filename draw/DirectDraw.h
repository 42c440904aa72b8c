#pragma once

#include <memory>

#include "draw/effect/SurfaceType.h"
#include "platform/Display.h"

namespace kivotasuGameKit {

// The display object of a screen manager. Status: 0 ready, 1 not made, 3 ready
// after emulation-only initialisation was refused, 4 initialisation failed.
class CDirectDraw {
public:
    explicit CDirectDraw(bool emulationOnly);
    CDirectDraw(const CDirectDraw&) = delete;
    CDirectDraw& operator=(const CDirectDraw&) = delete;
    ~CDirectDraw();

    platform::IDisplay* Get() const { return m_display.get(); }
    int GetStatus() const { return m_status; }

private:
    std::unique_ptr<platform::IDisplay> m_display;
    int m_status = 0;
    bool m_comHeld = false;
};

// Keeps window-mode presents inside the window.
class CDirectDrawClipper {
public:
    CDirectDrawClipper() = default;
    CDirectDrawClipper(const CDirectDrawClipper&) = delete;
    CDirectDrawClipper& operator=(const CDirectDrawClipper&) = delete;
    ~CDirectDrawClipper() { Release(); }

    // 0; 1 no display or primary; 2, 3, 4 the failed step (logged).
    int Clip(platform::IDisplay* draw, platform::IDisplaySurface* primary, platform::WindowHandle window);
    void Release() { m_clipper.reset(); }
    bool IsHeld() const { return m_clipper != nullptr; }

private:
    std::unique_ptr<platform::IDisplayClipper> m_clipper;
};

class CDirectDrawSurfaceManager {
public:
    // -1 for no surface, 0 when it cannot describe itself (logged), 1 for a
    // format of no known type (logged), else the type.
    static SurfaceType GetSurfaceType(platform::IDisplaySurface* surface);
};

} // namespace kivotasuGameKit
