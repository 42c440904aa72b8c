#pragma once

#include <cstdint>
#include <string>

#include "draw/effect/BltTypes.h"
#include "draw/effect/Geometry.h"
#include "draw/effect/SurfaceType.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {

struct PolygonBltParams; // the polygon transfer's request (draw/polygon)

// Gains access to a surface's pixels; 0 = success.
class ISurfaceLocker {
public:
    virtual int Lock() = 0;
    virtual int Unlock() = 0;
    virtual ~ISurfaceLocker() = default;
};

// Memory surfaces need no locking.
class CDefaultSurfaceLocker : public ISurfaceLocker {
public:
    int Lock() override { return 0; }
    int Unlock() override { return 0; }
};

// Installed on a surface that could not be locked, so every operation on it
// is refused.
class CRefusingSurfaceLocker : public ISurfaceLocker {
public:
    int Lock() override { return 1; }
    int Unlock() override { return 1; }
};

// Where a surface's pixels lie and how they are laid out. Never owns the
// pixel memory. Colours are in the value form 0xAARRGGBB (alpha 0 for types
// without alpha).
class CSurfaceInfo : public ISurfaceLocker {
public:
    CSurfaceInfo();
    CSurfaceInfo(const CSurfaceInfo&) = delete;
    CSurfaceInfo& operator=(const CSurfaceInfo&) = delete;

    // -1 when not created; a second Lock or an unpaired Unlock raises
    // CRuntimeException. A refused Lock leaves the record unlocked. Inline
    // and final: every blit locks two records.
    int Lock() final
    {
        if (!m_created) return -1;
        if (m_locked) RaiseMisuse("２重Lock(CSurfaceInfo::Lock)");
        const int result = m_locker->Lock();
        m_locked = result == 0;
        return result;
    }
    int Unlock() final
    {
        if (!m_created) return -1;
        if (!m_locked) RaiseMisuse("２重UnlockCSurfaceInfo::Unlock");
        m_locked = false;
        return m_locker->Unlock();
    }
    ~CSurfaceInfo() override = default;

    // 24-bit BMP and compressed surface file of a rectangle (null = whole):
    // -1 for an empty rectangle or a surface that refuses its lock, else the
    // file writer's result.
    virtual int SaveBitmap(const std::string& fileName, const RECT* rect);
    virtual int SaveCompressed(const std::string& fileName, const RECT* rect, bool compress);

    void Init(void* pixels, int32_t pitch, const SIZE* size, SurfaceType type);
    // Back to the empty state (a plane that released its surface).
    void Clear();

    int GetPixel(int x, int y, uint32_t* colour);
    void ClipRect(RECT* out, const RECT* in) const;

    int EffectBlt(EffectBltOp op, CSurfaceInfo* source, const BltParams* request, const BltRates* extra);
    // extra: Fade a 32-bit level (low byte used), AddColor/SubColor a 32-bit
    // colour, Mosaic a 32-bit block size; Fill and Invert read none.
    int SurfaceEffect(SurfaceEffectOp effect, const RECT* rect, const void* extra);
    // A texture-mapped polygon of the source, by mode 0 Copy, 1 KeyCopy or 10
    // BlendAlpha: 0 done, 1 another mode or a failed lock, 2 a pair of
    // different formats that no routine serves.
    int PolygonBlt(uint32_t mode, CSurfaceInfo* source, const PolygonBltParams* params, uint32_t reserved);

    int GetBytesPerPixel() const { return BytesPerPixel(m_type); }
    static SurfaceType ToAlphaType(SurfaceType type);
    static uint16_t PackRGB565(uint32_t r, uint32_t g, uint32_t b)
    {
        return uint16_t(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xFF) >> 3));
    }
    static uint16_t PackRGB555(uint32_t r, uint32_t g, uint32_t b)
    {
        return uint16_t(((r & 0xF8) << 7) | ((g & 0xF8) << 2) | ((b & 0xFF) >> 3));
    }

    CSmartPtr<ISurfaceLocker> GetLocker() const { return m_locker; }
    void SetLocker(const CSmartPtr<ISurfaceLocker>& locker) { m_locker = locker; }

    bool IsCreated() const { return m_created; }
    bool IsLocked() const { return m_locked; }
    void* GetPixels() const { return m_pixels; }
    uint8_t* GetPixelBytes() const { return static_cast<uint8_t*>(m_pixels); }
    int32_t GetPitch() const { return m_pitch; }
    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    SurfaceType GetType() const { return m_type; }
    uint32_t GetColorKey() const { return m_colorKey; }
    void SetColorKey(uint32_t colour) { m_colorKey = colour; }
    uint32_t GetFillColor() const { return m_fillColor; }
    void SetFillColor(uint32_t colour) { m_fillColor = colour; }

private:
    [[noreturn]] static void RaiseMisuse(const char* what);

    bool m_created = false;
    void* m_pixels = nullptr;
    int32_t m_pitch = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_locked = false;
    SurfaceType m_type{};
    uint32_t m_colorKey = 0;
    uint32_t m_fillColor = 0;
    CSmartPtr<ISurfaceLocker> m_locker;
};

// Holds a surface locked for one scope; test the guard before drawing.
class CSurfaceLock {
public:
    explicit CSurfaceLock(CSurfaceInfo& surface) : m_surface(surface), m_held(surface.Lock() == 0) {}
    ~CSurfaceLock()
    {
        if (m_held) m_surface.Unlock();
    }
    CSurfaceLock(const CSurfaceLock&) = delete;
    CSurfaceLock& operator=(const CSurfaceLock&) = delete;
    explicit operator bool() const { return m_held; }

private:
    CSurfaceInfo& m_surface;
    bool m_held;
};

} // namespace kivotasuGameKit
