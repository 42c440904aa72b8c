#include "platform/MemoryDisplaySurface.h"

#include <new>

namespace platform {

namespace {

// Larger surfaces are refused as a driver refuses them.
constexpr long long MaxSurfaceBytes = 256LL << 20;

} // namespace

MemoryDisplaySurface::MemoryDisplaySurface(int pitch, int height, int format, bool refuseLock)
    : m_pixels(std::size_t(pitch) * std::size_t(height)), m_pitch(pitch), m_format(format), m_refuseLock(refuseLock)
{
}

std::unique_ptr<IDisplaySurface> MemoryDisplaySurface::Create(int width, int height, int format, bool refuseLock)
{
    const int bytes = DisplayFormatBytes(format);
    if (width <= 0 || height <= 0 || bytes == 0)
        return nullptr;
    const long long pitch = (static_cast<long long>(width) * bytes + 3) & ~3LL;
    if (pitch * height > MaxSurfaceBytes)
        return nullptr;
    try {
        return std::unique_ptr<IDisplaySurface>(
            new MemoryDisplaySurface(static_cast<int>(pitch), height, format, refuseLock));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool MemoryDisplaySurface::Lock(void** pixels, int* pitch)
{
    if (m_refuseLock)
        return false;
    *pixels = m_pixels.data();
    *pitch = m_pitch;
    return true;
}

} // namespace platform
