#include "draw/effect/SurfaceInfo.h"

#include <algorithm>

#include "draw/effect/PixelFormat.h"
#include "frame/Exceptions.h"

namespace kivotasuGameKit {

namespace {

template <SurfaceType T> uint32_t ValueOf(const uint8_t* cell)
{
    const PixelChannels c = PixelFormat<T>::Read(cell);
    const uint32_t alpha = HasAlpha(T) ? c.a8 : 0;
    return (alpha << 24) | (c.r << 16) | (c.g << 8) | c.b;
}

} // namespace

CSurfaceInfo::CSurfaceInfo() : m_locker(new CDefaultSurfaceLocker) {}

void CSurfaceInfo::RaiseMisuse(const char* what) { throw KTL::CRuntimeException(what); }

void CSurfaceInfo::Init(void* pixels, int32_t pitch, const SIZE* size, SurfaceType type)
{
    m_pixels = pixels;
    m_pitch = pitch;
    m_width = size->cx;
    m_height = size->cy;
    m_type = type;
    m_locked = false;
    m_created = true;
}

void CSurfaceInfo::Clear()
{
    m_created = false;
    m_locked = false;
    m_pixels = nullptr;
    m_pitch = m_width = m_height = 0;
}

int CSurfaceInfo::GetPixel(int x, int y, uint32_t* colour)
{
    CSurfaceLock lock(*this);
    if (!lock) return 0;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return -1;
    const uint8_t* cell = GetPixelBytes() + ptrdiff_t(y) * m_pitch + ptrdiff_t(x) * GetBytesPerPixel();
    if (WithPixelFormat(m_type, [&]<SurfaceType T>() { *colour = ValueOf<T>(cell); })) return 0;
    *colour = 0;
    return m_type == Pal8 ? 0 : -2;
}

void CSurfaceInfo::ClipRect(RECT* out, const RECT* in) const
{
    const RECT whole{0, 0, m_width, m_height};
    if (!in) in = &whole;
    out->left = std::max(in->left, 0);
    out->top = std::max(in->top, 0);
    out->right = std::min(in->right, m_width);
    out->bottom = std::min(in->bottom, m_height);
}

SurfaceType CSurfaceInfo::ToAlphaType(SurfaceType type)
{
    switch (type) {
    case RGB565: return ARGB4565;
    case Pal8: case RGB555: return ARGB4555;
    case RGB888: case XRGB8888: return ARGB8888;
    case BGR888: case XBGR8888: return ABGR8888;
    default: return type;
    }
}

} // namespace kivotasuGameKit
