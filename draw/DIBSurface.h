#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draw/DeviceContext.h"
#include "draw/effect/SurfaceInfo.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {

class ISurface {
public:
    virtual int Load(const std::string& fileName, int bitsPerPixel) = 0;
    virtual int CreateFromDC(HDC dc, const RECT* rect, int bitsPerPixel) = 0;
    virtual int SaveBitmap(const std::string& fileName, const RECT* rect) = 0;
    virtual int Create(int width, int height, int bitsPerPixel, bool alpha) = 0;
    virtual void Clear() = 0;
    virtual int Release() = 0;
    virtual HDC GetDC() = 0;
    virtual const void* GetBitmap() = 0;
    virtual int GetSize(int* width, int* height) = 0;
    virtual void* GetBits() = 0;
    virtual CSurfaceInfo* GetSurfaceInfo() = 0;
    virtual ~ISurface() = default;
};

// A top-down bitmap in memory that pictures can be drawn into; its device
// context is its surface record. Pictures are drawn into every type but Pal8,
// so an 8-bit bitmap carries no colour table.
class CDIBSurface : public ISurface {
public:
    CDIBSurface();
    CDIBSurface(const CDIBSurface&) = delete;
    CDIBSurface& operator=(const CDIBSurface&) = delete;
    ~CDIBSurface() override;

    // 0; 1 not a picture; 2 no size; 3 no bitmap; 4 not drawn.
    int Load(const std::string& fileName, int bitsPerPixel) override;
    // 0, or 1 for a null rectangle or a failed create.
    int CreateFromDC(HDC dc, const RECT* rect, int bitsPerPixel) override;
    int SaveBitmap(const std::string& fileName, const RECT* rect) override;
    // 0 or 1. 8 bits give Pal8, 15 and 16 RGB555, 24 RGB888, 32 XRGB8888 or
    // ARGB8888 with alpha (which always makes 32 bits); 1 and 4 bits make a
    // bitmap of type 0 that no pixel operation serves.
    int Create(int width, int height, int bitsPerPixel, bool alpha) override;
    void Clear() override;
    int Release() override;
    HDC GetDC() override { return m_bitmap.empty() ? nullptr : m_surface.Get(); }
    const void* GetBitmap() override { return m_bitmap.empty() ? nullptr : m_bitmap.data(); }
    int GetSize(int* width, int* height) override;
    void* GetBits() override { return m_bits; }
    CSurfaceInfo* GetSurfaceInfo() override;

private:
    void* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    std::vector<uint8_t> m_bitmap;
    CSmartPtr<CSurfaceInfo> m_surface;
};

} // namespace kivotasuGameKit
