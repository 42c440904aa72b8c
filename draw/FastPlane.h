#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "draw/DeviceContext.h"
#include "draw/PlaneBase.h"
#include "platform/PixelMemory.h"

namespace platform {
class IDisplaySurface;
}

namespace kivotasuGameKit {
class CFastDraw;
}

namespace kivotasuGameKit::Draw {

// The plane of the screen manager: its pixels lie in a display surface (in
// the screen's format; every display surface is in system memory here) or in
// memory of its own (any type). Every plane with a surface is on its screen
// manager's list, which restores it after a display change.
class CFastPlane : public CPlaneBase {
public:
    // Null owner: the calling thread's screen manager.
    explicit CFastPlane(CFastDraw* owner = nullptr);
    ~CFastPlane() override;

    bool GetSize(int* width, int* height) override;
    int Resize(int width, int height) override;
    int CreateMemorySurface(int width, int height, SurfaceType type) override;
    int Load(const std::string& fileName) override;
    int Release() override;
    CSmartPtr<CPlaneBase> CreateNewPlane() override;

    // 0; 1 bad size or type, no display object, or a screen whose type is
    // unknown; 2 the display refused the surface.
    virtual int CreateSurface(int width, int height, bool alpha);
    virtual bool HasAlpha() { return m_hasAlpha; }
    virtual int RestoreSurface();
    // Called after a restore by reloading or recreating; element pictures
    // redraw themselves here.
    virtual int OnRestored() { return 0; }
    virtual int InnerLoad(const std::string& fileName);
    virtual int InnerCreateSurface(int width, int height, bool alpha, bool forceDisplay);

    CFastDraw* GetDraw() const;
    int GetBpp() { return BitsPerPixel(GetSurfaceType()); }
    platform::IDisplaySurface* GetDDSurface() const { return m_ddSurface.get(); }
    void SetWantsAlpha(bool wantsAlpha) { m_wantsAlpha = wantsAlpha; }
    const std::string& GetFileName() const { return m_fileName; }
    // The plane's record as a device context; null for memory planes, on
    // failure and while one is held.
    HDC BeginPaint();
    void EndPaint();

    // For the screen manager.
    int CreatePrimary(bool* attached, int width, int height);
    int CreateSecondary(CFastPlane* primary, bool* attached);
    int InnerCreateMemorySurface(int width, int height, SurfaceType type, bool clear);
    int InitSurfaceInfo();

private:
    // The screen's type; 0 without a screen manager.
    SurfaceType ScreenType() const;
    // InnerCreateSurface's work at the stored size, which it drops on failure.
    int MakeSurface(bool alpha, bool forceDisplay);
    void InitRecord(void* pixels, int32_t pitch, SurfaceType type);
    void Enlist();
    bool Fits(SurfaceType type, SurfaceType screen) const;

    std::unique_ptr<platform::IDisplaySurface> m_ddSurface;
    bool m_screenFormatSubstitute = false;
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::string m_fileName;
    bool m_hasAlpha = false;
    bool m_wantsAlpha = false;
    bool m_ownsMemory = false;
    bool m_screenFormatDisplay = false;
    bool m_lockFailureAllowed = false;
    CFastDraw* m_owner;
    bool m_restoring = false;
    bool m_refusing = false;
    bool m_painting = false;
    platform::PixelMemory m_memory;
};

} // namespace kivotasuGameKit::Draw
