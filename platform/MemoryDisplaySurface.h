#pragma once
// An off-screen surface of a display: plain memory in the display's format,
// rows aligned to 4 bytes as a display driver lays them out.

#include "platform/Display.h"
#include "platform/PixelMemory.h"

namespace platform {

class MemoryDisplaySurface final : public IDisplaySurface {
public:
    // Null when the size is not positive or too large.
    static std::unique_ptr<IDisplaySurface> Create(int width, int height, int format, bool refuseLock = false);

    bool GetPixelFormat(DisplayPixelFormat* out) override
    {
        *out = DescribeDisplayFormat(m_format);
        return true;
    }
    bool Lock(void** pixels, int* pitch) override;
    void Unlock() override {}
    bool IsLost() override { return false; }
    bool SetClipper(IDisplayClipper*) override { return false; }
    bool Blt(int, int, const PixelSource&, const PixelRect&) override { return false; }

private:
    MemoryDisplaySurface(int pitch, int height, int format, bool refuseLock);

    PixelMemory m_pixels;
    int m_pitch;
    int m_format;
    bool m_refuseLock;
};

} // namespace platform
