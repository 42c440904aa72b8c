#include "draw/PlaneBase.h"

#include <algorithm>

#include "draw/DIBSurface.h"
#include "draw/PictureLoader.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/effect/PixelConverter.h"
#include "frame/file/File.h"

namespace kivotasuGameKit::Draw {

CPlaneBase::CPlaneBase() : m_surface(new CSurfaceInfo) {}

int CPlaneBase::EffectBlt(EffectBltOp op, CSurfaceInfo* source, const BltParams* request, const BltRates* extra)
{
    return m_surface->EffectBlt(op, source, request, extra);
}

int CPlaneBase::SurfaceEffect(SurfaceEffectOp effect, const RECT* rect, const void* extra)
{
    return m_surface->SurfaceEffect(effect, rect, extra);
}

int CPlaneBase::FadeEffect(int level, const RECT* rect)
{
    const uint32_t extra = uint32_t(level) % 256;
    return SurfaceEffect(SurfaceEffectOp::Fade, rect, &extra);
}

int CPlaneBase::AddColorEffect(uint32_t colour, const RECT* rect)
{
    return SurfaceEffect(SurfaceEffectOp::AddColor, rect, &colour);
}

int CPlaneBase::SubColorEffect(uint32_t colour, const RECT* rect)
{
    return SurfaceEffect(SurfaceEffectOp::SubColor, rect, &colour);
}

int CPlaneBase::MosaicEffect(int blockSize, const RECT* rect)
{
    const uint32_t extra = uint32_t(blockSize);
    return SurfaceEffect(SurfaceEffectOp::Mosaic, rect, &extra);
}

int CPlaneBase::NegaEffect(const RECT* rect)
{
    return SurfaceEffect(SurfaceEffectOp::Invert, rect, nullptr);
}

int CPlaneBase::PolygonBlt(uint32_t mode, CSurfaceInfo* source, const PolygonBltParams* params, uint32_t reserved)
{
    return GetSurfaceInfo()->PolygonBlt(mode, source, params, reserved);
}

int CPlaneBase::SetColorKey(uint32_t rgb)
{
    m_keyByPosition = false;
    m_keyValue = rgb;
    m_surface->SetColorKey(m_keyValue);
    return 0;
}

int CPlaneBase::SetColorKeyPos(int x, int y)
{
    m_keyByPosition = true;
    m_keyX = x;
    m_keyY = y;
    const int result = m_surface->GetPixel(x, y, &m_keyValue);
    m_surface->SetColorKey(m_keyValue);
    return result;
}

int CPlaneBase::SetColorKeyRGB(int r, int g, int b)
{
    return SetColorKey((uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b));
}

void CPlaneBase::ResetColorKey()
{
    m_keyByPosition = true;
    m_keyX = 0;
    m_keyY = 0;
    m_keyValue = 0;
}

int CPlaneBase::UpdateColorKey()
{
    int result = 0;
    if (m_keyByPosition) result = m_surface->GetPixel(m_keyX, m_keyY, &m_keyValue);
    m_surface->SetColorKey(m_keyValue);
    return result;
}

int CPlaneBase::Clear(const RECT* rect)
{
    return SurfaceEffect(SurfaceEffectOp::Fill, rect, nullptr);
}

int CPlaneBase::SaveBitmap(const std::string& fileName, const RECT* rect)
{
    return m_surface->SaveBitmap(fileName, rect);
}

int CPlaneBase::SaveCompressed(const std::string& fileName, const RECT* rect, bool compress)
{
    return m_surface->SaveCompressed(fileName, rect, compress);
}

int CPlaneBase::LoadPicture(const std::string& fileName, SurfaceType type)
{
    CFile file;
    if (file.Read(fileName, FileKind::Picture) != platform::ReadResult::Done) return -1;
    return DecodePicture(file, type);
}

int CPlaneBase::DecodePicture(CFile& file, SurfaceType type)
{
    CSmartPtr<IPictureLoader> loader = PictureLoaderFactoryInstance->Create();
    // A picture that is recognised but cannot be sized (a damaged header) is
    // as undecodable as one that is not recognised.
    int width = 0, height = 0;
    if (loader->Load(file) != 0 || loader->GetSize(&width, &height) != 0) return -2;
    if (loader->HasAlpha()) type = CSurfaceInfo::ToAlphaType(type);
    if (CreateMemorySurface(width, height, type) != 0) return -3;

    int copied;
    {
        CSurfaceLock lock(*m_surface);
        copied = lock ? loader->CopyTo(m_surface.Get()) : -1;
    }
    if (copied == 0) return 0;

    CDIBSurface dib;
    if (dib.Create(width, height, 24, false) != 0) return -4;
    if (loader->Render(dib.GetDC()) != 0) {
        Clear(nullptr);
        return -5;
    }
    CSurfaceInfo* drawn = dib.GetSurfaceInfo();
    if (EffectBltServes(uint32_t(EffectBltOp::Copy), m_surface->GetType(), drawn->GetType())) {
        const BltParams whole;
        return m_surface->EffectBlt(EffectBltOp::Copy, drawn, &whole, nullptr);
    }
    // The copy has no routine for 24-bit rows into the 16-bit alpha types: the
    // converter has.
    CSurfaceLock lock(*m_surface);
    if (!lock) return 1;
    const int rows = std::min(height, m_surface->GetHeight()), columns = std::min(width, m_surface->GetWidth());
    for (int y = 0; y < rows; ++y)
        if (CPixelConverter::Convert(drawn->GetPixelBytes() + ptrdiff_t(y) * drawn->GetPitch(), drawn->GetType(),
                                     m_surface->GetPixelBytes() + ptrdiff_t(y) * m_surface->GetPitch(),
                                     m_surface->GetType(), columns) != 0)
            return 2;
    return 0;
}

int CPlaneBase::Blt(EffectBltOp op, CPlaneBase* source, int x, int y, const SIZE* size, const RECT* sourceRect,
                    const RECT* clipRect, int anchor, const BltRates* extra)
{
    const POINT point{x, y};
    BltParams request;
    request.point = &point;
    request.size = size;
    request.sourceRect = sourceRect;
    request.clipRect = clipRect;
    request.anchor = anchor;
    return EffectBlt(op, source->GetSurfaceInfoPtr(), &request, extra);
}

int CPlaneBase::CopyBlt(CPlaneBase* source, int x, int y, const SIZE* size, const RECT* sourceRect,
                        const RECT* clipRect, int anchor)
{
    return Blt(EffectBltOp::Copy, source, x, y, size, sourceRect, clipRect, anchor, nullptr);
}

int CPlaneBase::KeyCopyBlt(CPlaneBase* source, int x, int y, const SIZE* size, const RECT* sourceRect,
                           const RECT* clipRect, int anchor)
{
    return Blt(EffectBltOp::KeyCopy, source, x, y, size, sourceRect, clipRect, anchor, nullptr);
}

int CPlaneBase::AddBlt(CPlaneBase* source, int x, int y, const SIZE* size, const RECT* sourceRect,
                       const RECT* clipRect, int anchor)
{
    return Blt(EffectBltOp::Add, source, x, y, size, sourceRect, clipRect, anchor, nullptr);
}

int CPlaneBase::BlendAlphaBlt(CPlaneBase* source, int x, int y, const SIZE* size, const RECT* sourceRect,
                              const RECT* clipRect, int anchor)
{
    return Blt(EffectBltOp::BlendAlpha, source, x, y, size, sourceRect, clipRect, anchor, nullptr);
}

int CPlaneBase::BlendRateBlt(CPlaneBase* source, int x, int y, uint32_t rate, const SIZE* size,
                             const RECT* sourceRect, const RECT* clipRect, int anchor)
{
    const BltRates rates{rate, 0};
    return Blt(EffectBltOp::BlendRate, source, x, y, size, sourceRect, clipRect, anchor, &rates);
}

int CPlaneBase::KeyBlendRateBlt(CPlaneBase* source, int x, int y, uint32_t rate, const SIZE* size,
                                const RECT* sourceRect, const RECT* clipRect, int anchor)
{
    const BltRates rates{rate, 0};
    return Blt(EffectBltOp::KeyBlendRate, source, x, y, size, sourceRect, clipRect, anchor, &rates);
}

} // namespace kivotasuGameKit::Draw
