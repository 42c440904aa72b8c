#pragma once

#include <cstdint>
#include <string>

#include "draw/effect/BltTypes.h"
#include "draw/effect/SurfaceInfo.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {
class CFile;
}

namespace kivotasuGameKit::Draw {

// A drawable picture: a surface record and its colour key, with every drawing
// request turned into a call of the effect blitter. By default the colour of
// the top-left pixel is the transparent colour.
class CPlaneBase {
public:
    CPlaneBase();
    CPlaneBase(const CPlaneBase&) = delete;
    CPlaneBase& operator=(const CPlaneBase&) = delete;
    virtual ~CPlaneBase() = default;

    virtual int EffectBlt(EffectBltOp op, CSurfaceInfo* source, const BltParams* request, const BltRates* extra);
    virtual int SurfaceEffect(SurfaceEffectOp effect, const RECT* rect, const void* extra);
    virtual int FadeEffect(int level, const RECT* rect);
    virtual int AddColorEffect(uint32_t colour, const RECT* rect);
    virtual int SubColorEffect(uint32_t colour, const RECT* rect);
    virtual int MosaicEffect(int blockSize, const RECT* rect);
    virtual int NegaEffect(const RECT* rect);
    virtual int PolygonBlt(uint32_t mode, CSurfaceInfo* source, const PolygonBltParams* params, uint32_t reserved);
    virtual int SetColorKey(uint32_t rgb);
    virtual uint32_t GetColorKey() { return m_keyValue; }
    virtual int SetColorKeyPos(int x, int y);
    virtual int SetColorKeyRGB(int r, int g, int b);
    // True when the surface record is not created.
    virtual bool GetSize(int* width, int* height) = 0;
    virtual int Resize(int width, int height) = 0;
    virtual SurfaceType GetSurfaceType() { return m_surface->GetType(); }
    virtual int CreateMemorySurface(int width, int height, SurfaceType type) = 0;
    // 0; -1 unreadable; -2 not a picture; -3 no surface; -4 no bitmap to draw
    // into; -5 not drawn.
    virtual int LoadPicture(const std::string& fileName, SurfaceType type);
    // As LoadPicture, of a file read already (by one who asks how its read ended).
    int DecodePicture(CFile& file, SurfaceType type);
    // Fills the rectangle (null: the whole plane) with the fill colour.
    virtual int Clear(const RECT* rect);
    virtual void SetFillColor(uint32_t colour) { m_surface->SetFillColor(colour); }
    virtual uint32_t GetFillColor() { return m_surface->GetFillColor(); }
    virtual int Load(const std::string&) { return 0; }
    virtual int SaveBitmap(const std::string& fileName, const RECT* rect);
    virtual int SaveCompressed(const std::string& fileName, const RECT* rect, bool compress);
    virtual int Release() { return 0; }
    virtual CSurfaceInfo* GetSurfaceInfoPtr() { return m_surface.Get(); }
    // Raises CNullPointerException when there is no record.
    virtual CSurfaceInfo* GetSurfaceInfo() { return &*m_surface; }
    virtual CSmartPtr<CPlaneBase> CreateNewPlane() = 0;

    int Clear() { return Clear(nullptr); }

    void ResetColorKey();
    // Re-reads the key pixel when the key is by position, then stores the key
    // in the record; the read's result, or 0.
    int UpdateColorKey();

    int CopyBlt(CPlaneBase* source, int x, int y, const SIZE* size = nullptr, const RECT* sourceRect = nullptr,
                const RECT* clipRect = nullptr, int anchor = 0);
    int KeyCopyBlt(CPlaneBase* source, int x, int y, const SIZE* size = nullptr, const RECT* sourceRect = nullptr,
                   const RECT* clipRect = nullptr, int anchor = 0);
    int AddBlt(CPlaneBase* source, int x, int y, const SIZE* size = nullptr, const RECT* sourceRect = nullptr,
               const RECT* clipRect = nullptr, int anchor = 0);
    int BlendAlphaBlt(CPlaneBase* source, int x, int y, const SIZE* size = nullptr, const RECT* sourceRect = nullptr,
                      const RECT* clipRect = nullptr, int anchor = 0);
    int BlendRateBlt(CPlaneBase* source, int x, int y, uint32_t rate, const SIZE* size = nullptr,
                     const RECT* sourceRect = nullptr, const RECT* clipRect = nullptr, int anchor = 0);
    int KeyBlendRateBlt(CPlaneBase* source, int x, int y, uint32_t rate, const SIZE* size = nullptr,
                        const RECT* sourceRect = nullptr, const RECT* clipRect = nullptr, int anchor = 0);

protected:
    CSmartPtr<CSurfaceInfo> m_surface;
    bool m_keyByPosition = true;
    int32_t m_keyX = 0;
    int32_t m_keyY = 0;
    uint32_t m_keyValue = 0;

private:
    int Blt(EffectBltOp op, CPlaneBase* source, int x, int y, const SIZE* size, const RECT* sourceRect,
            const RECT* clipRect, int anchor, const BltRates* extra);
};

} // namespace kivotasuGameKit::Draw
