#pragma once

#include <cstdint>
#include <memory>

#include "draw/DeviceContext.h"
#include "draw/DibImage.h"
#include "draw/ImagePlugIn.h"
#include "draw/effect/SurfaceInfo.h"
#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "frame/file/File.h"
#include "platform/PictureDecoder.h"

namespace kivotasuGameKit {

class IPictureLoader {
public:
    // 0 recognised, 1 not.
    virtual int Load(CFile& file) = 0;
    // 0, or 1 when nothing usable is loaded.
    virtual int GetSize(int* width, int* height) = 0;
    virtual bool HasAlpha() = 0;
    // Draws the whole picture at (0, 0): 0 drawn, 1 failed.
    virtual int Render(HDC dc) = 0;
    // 0 copied; 2, 3 or -1 when the picture must be drawn instead.
    virtual int CopyTo(CSurfaceInfo* surface) = 0;
    virtual int Release() = 0;
    virtual int GetPalette(PALETTEENTRY* table) = 0;
    virtual ~IPictureLoader() = default;
};

// Recognises, in this order, a BMP, the compressed surface file, a picture the
// system decodes (JPEG, PNG, GIF) and a format of an image plug-in. The loaded
// picture reads from the file's data, which must outlive it.
class CPictureLoader : public IPictureLoader {
public:
    CPictureLoader() = default;
    CPictureLoader(const CPictureLoader&) = delete;
    CPictureLoader& operator=(const CPictureLoader&) = delete;
    ~CPictureLoader() override;

    int Load(CFile& file) override;
    int GetSize(int* width, int* height) override;
    bool HasAlpha() override { return m_compressed != 0; }
    int Render(HDC dc) override;
    int CopyTo(CSurfaceInfo* surface) override;
    int Release() override;
    int GetPalette(PALETTEENTRY* table) override;

    virtual int LoadBMP(CFile& file);
    // 0; 1 another suffix; 2 the suffix but not the magic.
    virtual int LoadCompressed(CFile& file);
    // 0; 1 no data; 2 not decodable.
    virtual int LoadByOle(CFile& file);
    virtual int LoadPlugIn(CFile& file);
    // 0; 2 a compressed BMP; 3 another depth than 16 or 24 bits.
    virtual int CopyToSurface(CSurfaceInfo* surface);
    // 0; 3 the data does not expand; -1 no size.
    virtual int CopyAlphaToSurface(CSurfaceInfo* surface);
    virtual void FreePicture();

private:
    // The header of a compressed surface file, when it can be trusted.
    bool CompressedHeader(uint32_t* flag, uint32_t* rawSize, uint32_t* storedSize) const;
    int RenderPlugIn(HDC dc);
    void FreePlugIn();

    // Set while a BMP is loaded.
    const uint8_t* m_bmpHeader = nullptr;
    uint8_t m_compressed = 0;
    int32_t m_compressedWidth = 0;
    int32_t m_compressedHeight = 0;
    std::unique_ptr<platform::DecodedPicture> m_picture;
    void* m_plugIn = nullptr;
    ImagePlugInIsSupported m_isSupported = nullptr;
    ImagePlugInGetPictureInfo m_getPictureInfo = nullptr;
    ImagePlugInGetPicture m_getPicture = nullptr;
    ImagePlugInFreeBuffer m_freeBuffer = nullptr;
    CFile* m_file = nullptr;
    ImagePlugInBuffer* m_plugInBits = nullptr;
    ImagePlugInBuffer* m_plugInInfo = nullptr;
};

class IPictureLoaderFactory {
public:
    virtual CSmartPtr<IPictureLoader> Create() = 0;
    virtual ~IPictureLoaderFactory() = default;
};

class CPictureLoaderFactory : public IPictureLoaderFactory {
public:
    CSmartPtr<IPictureLoader> Create() override;
};

// Every picture load asks this factory for a fresh loader.
extern CSmartPtr<IPictureLoaderFactory> PictureLoaderFactoryInstance;
// The folder of the image plug-ins.
extern CTextString PlugInFolder;

} // namespace kivotasuGameKit
