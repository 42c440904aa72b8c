#include "draw/DIBSurface.h"

#include <cstring>

#include "draw/PictureLoader.h"
#include "draw/effect/PixelFormat.h"
#include "frame/file/File.h"

namespace kivotasuGameKit {

CDIBSurface::CDIBSurface() : m_surface(new CSurfaceInfo) {}

CDIBSurface::~CDIBSurface()
{
    Release();
}

int CDIBSurface::Create(int width, int height, int bitsPerPixel, bool alpha)
{
    Release();
    if (width < 1 || height < 1) return 1;
    const int bits = alpha ? 32 : bitsPerPixel;
    SurfaceType type{};
    int bytes = 0;
    switch (bits) {
    case 1: case 4: break; // a real DIB depth without a pixel type: a type-0 record
    case 8: type = Pal8; bytes = 1; break;
    case 15: case 16: type = RGB555; bytes = 2; break;
    case 24: type = RGB888; bytes = 3; break;
    case 32: type = alpha ? ARGB8888 : XRGB8888; bytes = 4; break;
    default: return 1; // no DIB section exists at any other depth, so its creation fails
    }
    const int storedBits = bits == 15 ? 16 : bits;
    const size_t rowSize = ((size_t(width) * storedBits + 31) / 32) * 4;
    try {
        m_bitmap.assign(rowSize * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    m_bits = m_bitmap.data();
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bits;
    const SIZE size{width, height};
    m_surface->Init(m_bits, bytes == 0 ? 0 : int32_t((size_t(bytes) * width + 3) & ~size_t(3)), &size, type);
    return 0;
}

int CDIBSurface::Release()
{
    m_bitmap.clear();
    m_bitmap.shrink_to_fit();
    m_bits = nullptr;
    m_width = m_height = m_bitsPerPixel = 0;
    if (m_surface) m_surface->Clear();
    return 0;
}

int CDIBSurface::Load(const std::string& fileName, int bitsPerPixel)
{
    // A file that cannot be read shows up as an unrecognised picture.
    CFile file;
    file.Read(fileName, FileKind::Picture);
    CSmartPtr<IPictureLoader> loader = PictureLoaderFactoryInstance->Create();
    if (loader->Load(file) != 0) return 1;
    int width = 0, height = 0;
    if (loader->GetSize(&width, &height) != 0) return 2;
    if (Create(width, height, bitsPerPixel, false) != 0) return 3;
    if (loader->Render(GetDC()) != 0) return 4;
    return 0;
}

int CDIBSurface::CreateFromDC(HDC dc, const RECT* rect, int bitsPerPixel)
{
    if (!rect || !dc) return 1;
    if (Create(rect->right - rect->left, rect->bottom - rect->top, bitsPerPixel, false) != 0) return 1;
    CSurfaceInfo& target = *m_surface;
    const int cell = target.GetBytesPerPixel();
    if (cell == 0 || target.GetType() == Pal8) return 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            uint32_t colour = 0;
            if (dc->GetPixel(rect->left + x, rect->top + y, &colour) != 0) continue;
            uint8_t packed[4];
            PackColourCell(target.GetType(), colour, packed);
            std::memcpy(target.GetPixelBytes() + ptrdiff_t(y) * target.GetPitch() + ptrdiff_t(x) * cell, packed, cell);
        }
    }
    return 0;
}

int CDIBSurface::SaveBitmap(const std::string& fileName, const RECT* rect)
{
    return GetSurfaceInfo()->SaveBitmap(fileName, rect);
}

void CDIBSurface::Clear()
{
    m_surface->SurfaceEffect(SurfaceEffectOp::Fill, nullptr, nullptr);
}

int CDIBSurface::GetSize(int* width, int* height)
{
    if (m_bitmap.empty()) return 1;
    *width = m_width;
    *height = m_height;
    return 0;
}

CSurfaceInfo* CDIBSurface::GetSurfaceInfo()
{
    return &*m_surface;
}

} // namespace kivotasuGameKit
